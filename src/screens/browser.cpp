#include "screens/browser.h"

#include <QProcess>
#include <QStandardPaths>

namespace kisharin {

void openInBrowser(const QUrl& url, QObject* owner, std::function<void()> failed) {
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        failed();
        return;
    }
    auto* process = new QProcess(owner);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    QObject::connect(process, &QProcess::finished, owner,
                     [process, failed](int code, QProcess::ExitStatus status) {
                         process->deleteLater();
                         // xdg-open ends with 3 when no browser is installed, 4 when opening failed.
                         if (status != QProcess::NormalExit || code != 0) failed();
                     });
    QObject::connect(process, &QProcess::errorOccurred, owner, [process, failed](QProcess::ProcessError e) {
        if (e != QProcess::FailedToStart) return;
        process->deleteLater();
        failed();
    });
    process->start(opener, {url.toString(QUrl::FullyEncoded)});
}

}  // namespace kisharin

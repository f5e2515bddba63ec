#include "screens/browser.h"

#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QWidget>

#include "platform/data_home.h"

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

void openManual(QWidget* parent) {
    const QString path = QString::fromStdString(manualPath(shippedDataDir()));
    auto tell = [parent = QPointer<QWidget>(parent)](const QString& text) {
        QMessageBox box(QMessageBox::Information, QStringLiteral("遊び方"), text, QMessageBox::Ok, parent);
        box.setObjectName(QStringLiteral("msgManual"));
        box.exec();
    };
    if (path.isEmpty()) {
        tell(
            QStringLiteral("遊び方のファイル（Manual.htm）が見つかりません。\n"
                           "ゲームのデータのフォルダか /usr/share/doc/kisharin/ にあるはずです。"));
        return;
    }
    openInBrowser(QUrl::fromLocalFile(path), parent, [tell, path] {
        tell(QStringLiteral("ブラウザを開けなかったので、遊び方を表示できませんでした。\n"
                            "ブラウザを入れるか、次のファイルをブラウザで開いてください。\n") +
             path);
    });
}

}  // namespace kisharin

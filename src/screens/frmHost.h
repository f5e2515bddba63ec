// The host's window while it waits for the guest: this computer's addresses, the port and
// the six-digit join code to tell the other player; it closes itself when the guest has
// joined. Cancelling ends the hosting.
#pragma once

#include <QDialog>

class QLabel;

namespace kisharin {

class NetHost;

class FrmHost : public QDialog {
    Q_OBJECT
  public:
    FrmHost(NetHost& host, QWidget* parent = nullptr);
    QLabel* details() const { return lblDetails_; }

  private:
    QLabel* lblDetails_;
};

}  // namespace kisharin

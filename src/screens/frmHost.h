// The host's window while it waits for the guest: this computer's addresses, the port and
// the eight-digit join code to tell the other player; it closes itself when the guest has
// joined. When someone gives wrong codes until the host makes a new one, it says so and
// shows the new code. Cancelling ends the hosting.
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
    QLabel* warning() const { return lblWarning_; }

  private:
    void showDetails();
    NetHost& host_;
    QLabel* lblDetails_;
    QLabel* lblWarning_;
};

}  // namespace kisharin

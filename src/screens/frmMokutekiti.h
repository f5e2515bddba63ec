// The destination list "目的地" (modal) and the course window "最短目的地" (not modal:
// a new click replaces it).
#pragma once

#include <QDialog>

#include "state/game_state.h"

class QTextEdit;

namespace kisharin {

class FrmMokutekiti : public QDialog {
    Q_OBJECT
  public:
    FrmMokutekiti(const GameState& s, QWidget* parent);
};

class FrmCourse : public QDialog {
    Q_OBJECT
  public:
    FrmCourse(const GameState& s, QWidget* parent);
    QString courseText() const;

  private:
    QTextEdit* txtCourse_;
};

}  // namespace kisharin

// The "Communication parameters" dialog: shows link::TCommParameters and forwards the user's
// choices and buttons to it. The main window makes one when its button is pressed and lets it
// free itself when it closes.
#pragma once

#include <QDialog>
#include <array>
#include <memory>

#include "link/comm_parameters.h"

class QComboBox;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace quarn::ui {

class TFormComParameters : public QDialog {
  Q_OBJECT

 public:
  TFormComParameters(std::unique_ptr<link::TCommParametersLink> link, QWidget* parent = nullptr);

  // Reads the settings when a controller is connected; call once the dialog is up.
  void ReadOnOpen();
  // An answer the link accepted while the dialog is open.
  void TakeAnswer(const link::TAcceptedAnswer& answer);

 private:
  void BuildControls();
  void ShowModel();
  void TakeChoices();

  std::unique_ptr<link::TCommParametersLink> link_;
  link::TCommParameters model_;
  QRadioButton* rbAscii_ = nullptr;
  QRadioButton* rbRtu_ = nullptr;
  std::array<QRadioButton*, 3> rbParity_{};
  QComboBox* cbxBaudRate_ = nullptr;
  QSpinBox* udId_ = nullptr;
  QPushButton* btnReadSettings_ = nullptr;
  QPushButton* btnApplySettings_ = nullptr;
};

}  // namespace quarn::ui

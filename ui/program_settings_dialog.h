// The "Program Settings" dialog: the ladder compiler's two options and the pace of the status
// polling. Made afresh each time it opens, so it starts from the model's initial values rather
// than the current settings; "Apply" stores them and keeps the dialog open.
#pragma once

#include <QDialog>
#include <functional>

#include "shell/common_datas.h"
#include "shell/program_settings.h"

class QCheckBox;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace quarn::ui {

class TFormProgramSettings : public QDialog {
  Q_OBJECT

 public:
  // applyInterval gets the status timer's new interval on every "Apply".
  TFormProgramSettings(shell::TCommonDatas& datas, std::function<void(int)> applyInterval,
                       QWidget* parent = nullptr);

 private:
  void BuildControls();
  void Apply();

  shell::TCommonDatas& datas_;
  std::function<void(int)> applyInterval_;
  shell::ProgramSettings model_;
  QCheckBox* chbxCompileLog_ = nullptr;
  QSpinBox* udMaxBlocks_ = nullptr;
  QRadioButton* rb200ms_ = nullptr;
  QRadioButton* rb10sec_ = nullptr;
  QPushButton* btnApply_ = nullptr;
};

}  // namespace quarn::ui

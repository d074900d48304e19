#include "ui/program_settings_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "shell/shell_texts.h"
#include "ui/qt_text.h"

namespace quarn::ui {

namespace texts = shell::texts;

TFormProgramSettings::TFormProgramSettings(shell::TCommonDatas& datas,
                                           std::function<void(int)> applyInterval, QWidget* parent)
    : QDialog(parent), datas_(datas), applyInterval_(std::move(applyInterval)) {
  setObjectName(QStringLiteral("FormProgramSettings"));
  setWindowTitle(ToQt(texts::kSettingsCaption));
  BuildControls();
}

void TFormProgramSettings::BuildControls() {
  auto* compilation = new QGroupBox(ToQt(texts::kLdCompilation), this);
  chbxCompileLog_ = new QCheckBox(ToQt(texts::kAddCompilationInfo), compilation);
  chbxCompileLog_->setObjectName(QStringLiteral("chbxCompileLog"));
  chbxCompileLog_->setChecked(model_.AddCompilationInfo());
  udMaxBlocks_ = new QSpinBox(compilation);
  udMaxBlocks_->setObjectName(QStringLiteral("udMaxBlocks"));
  udMaxBlocks_->setRange(shell::ProgramSettings::kMinBlocks, shell::ProgramSettings::kMaxBlocks);
  udMaxBlocks_->setValue(model_.MaxBlocks());
  auto* blocksLabel = new QLabel(ToQt(texts::kMaxBlocks), compilation);
  blocksLabel->setBuddy(udMaxBlocks_);
  auto* blocksRow = new QHBoxLayout;
  blocksRow->addWidget(udMaxBlocks_);
  blocksRow->addWidget(blocksLabel, 1);
  auto* compilationLayout = new QVBoxLayout(compilation);
  compilationLayout->addWidget(chbxCompileLog_);
  compilationLayout->addLayout(blocksRow);

  auto* timer = new QGroupBox(ToQt(texts::kStatusTimer), this);
  rb200ms_ = new QRadioButton(ToQt(texts::kStatusTimer200ms), timer);
  rb200ms_->setObjectName(QStringLiteral("rb200ms"));
  rb10sec_ = new QRadioButton(ToQt(texts::kStatusTimer10sec), timer);
  rb10sec_->setObjectName(QStringLiteral("rb10sec"));
  (model_.TimerChoice() == shell::StatusTimerChoice::Ms200 ? rb200ms_ : rb10sec_)->setChecked(true);
  auto* timerLayout = new QVBoxLayout(timer);
  timerLayout->addWidget(rb200ms_);
  timerLayout->addWidget(rb10sec_);

  auto* timeouts = new QGroupBox(ToQt(texts::kTimeouts), this);
  auto* timeoutsLayout = new QVBoxLayout(timeouts);
  timeoutsLayout->addWidget(new QLabel(ToQt(shell::ProgramSettings::TimeoutText()), timeouts));
  timeoutsLayout->addWidget(new QLabel(ToQt(shell::ProgramSettings::Timeout2Text()), timeouts));
  for (const std::string_view line :
       {texts::kTimeoutsNote1, texts::kTimeoutsNote2, texts::kTimeoutsNote3}) {
    auto* note = new QLabel(ToQt(line), timeouts);
    note->setStyleSheet(QStringLiteral("color: grey;"));
    timeoutsLayout->addWidget(note);
  }

  btnApply_ = new QPushButton(ToQt(texts::kApply), this);
  btnApply_->setObjectName(QStringLiteral("btnApply"));
  btnApply_->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnApply_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(compilation);
  layout->addWidget(timer);
  layout->addWidget(timeouts);
  layout->addLayout(buttons);

  connect(chbxCompileLog_, &QCheckBox::toggled, this,
          [this](bool on) { model_.SetAddCompilationInfo(on); });
  connect(udMaxBlocks_, &QSpinBox::valueChanged, this,
          [this](int value) { model_.SetMaxBlocks(value); });
  connect(rb200ms_, &QRadioButton::toggled, this, [this](bool on) {
    model_.SetTimerChoice(on ? shell::StatusTimerChoice::Ms200 : shell::StatusTimerChoice::Sec10);
  });
  connect(btnApply_, &QPushButton::clicked, this, &TFormProgramSettings::Apply);
}

void TFormProgramSettings::Apply() {
  // A value typed but not yet confirmed counts as the up-down's value, as the button shows it.
  udMaxBlocks_->interpretText();
  const int interval = model_.Apply(datas_);
  if (applyInterval_) applyInterval_(interval);
}

}  // namespace quarn::ui

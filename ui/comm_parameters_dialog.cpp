#include "ui/comm_parameters_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "link/comm_parameters_texts.h"
#include "ui/named_widgets.h"
#include "ui/qt_text.h"

namespace quarn::ui {
namespace {

namespace texts = link::texts;
using link::TCommParity;
using link::TCommProtocol;

// Enter in the address box must not press a button.
QPushButton* MakeButton(const char* name, std::string_view text, QWidget* parent) {
  auto* button = MakeNamed<QPushButton>(name, text, parent);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TFormComParameters::TFormComParameters(std::unique_ptr<link::TCommParametersLink> link,
                                       QWidget* parent)
    : QDialog(parent), link_(std::move(link)) {
  setObjectName(QStringLiteral("FormComParameters"));
  setWindowTitle(ToQt(texts::kCommCaption));
  BuildControls();
  ShowModel();
}

void TFormComParameters::BuildControls() {
  auto* protocol = new QGroupBox(this);
  protocol->setObjectName(QStringLiteral("rgProtocol"));
  rbAscii_ = MakeNamed<QRadioButton>("rbAscii", texts::kCommAscii, protocol);
  rbRtu_ = MakeNamed<QRadioButton>("rbRtu", texts::kCommRtu, protocol);
  auto* protocolLayout = new QVBoxLayout(protocol);
  protocolLayout->addWidget(rbAscii_);
  protocolLayout->addWidget(rbRtu_);

  auto* parity = new QGroupBox(ToQt(texts::kCommParityGroup), this);
  parity->setObjectName(QStringLiteral("rgParity"));
  auto* parityLayout = new QVBoxLayout(parity);
  static constexpr const char* kParityNames[] = {"rbEven", "rbOdd", "rbNone"};
  for (std::size_t k = 0; k < rbParity_.size(); ++k) {
    rbParity_[k] = MakeNamed<QRadioButton>(kParityNames[k], texts::kCommParityItems[k], parity);
    parityLayout->addWidget(rbParity_[k]);
  }

  cbxBaudRate_ = new QComboBox(this);
  cbxBaudRate_->setObjectName(QStringLiteral("cbxBaudRate"));
  for (const std::int32_t rate : link::kCommBaudRates) cbxBaudRate_->addItem(QString::number(rate));
  auto* baudLabel = new QLabel(ToQt(texts::kCommBaudRate), this);
  baudLabel->setBuddy(cbxBaudRate_);

  udId_ = new QSpinBox(this);
  udId_->setObjectName(QStringLiteral("udId"));
  udId_->setRange(link::kMinCommId, link::kMaxCommId);
  auto* idLabel = new QLabel(ToQt(texts::kCommId), this);
  idLabel->setBuddy(udId_);

  btnReadSettings_ = MakeButton("btnReadSettings", texts::kCommReadSettings, this);
  btnApplySettings_ = MakeButton("btnApplySettings", texts::kCommApplySettings, this);

  auto* values = new QGridLayout;
  values->addWidget(baudLabel, 0, 0);
  values->addWidget(cbxBaudRate_, 0, 1);
  values->addWidget(idLabel, 1, 0);
  values->addWidget(udId_, 1, 1);
  auto* groups = new QHBoxLayout;
  groups->addWidget(protocol);
  groups->addWidget(parity);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnReadSettings_);
  buttons->addWidget(btnApplySettings_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(ToQt(texts::kCommHeading), this));
  layout->addLayout(groups);
  layout->addLayout(values);
  layout->addLayout(buttons);

  // Every change of a control goes to the model at once: the visibility of "NONE / 2 STOP"
  // follows the protocol.
  for (QRadioButton* radio : {rbAscii_, rbRtu_, rbParity_[0], rbParity_[1], rbParity_[2]}) {
    connect(radio, &QRadioButton::toggled, this, [this](bool on) {
      if (!on) return;
      TakeChoices();
      ShowModel();
    });
  }
  connect(cbxBaudRate_, &QComboBox::currentIndexChanged, this, [this] { TakeChoices(); });
  connect(udId_, &QSpinBox::valueChanged, this, [this] { TakeChoices(); });
  connect(btnReadSettings_, &QPushButton::clicked, this, [this] { model_.ReadSettings(*link_); });
  connect(btnApplySettings_, &QPushButton::clicked, this, [this] {
    TakeChoices();
    model_.ApplySettings(*link_);
    ShowModel();  // an empty baud-rate choice has become 115200
  });
}

void TFormComParameters::TakeChoices() {
  model_.SetProtocol(rbRtu_->isChecked() ? TCommProtocol::Rtu : TCommProtocol::Ascii);
  for (std::size_t k = 0; k < rbParity_.size(); ++k) {
    if (rbParity_[k]->isChecked()) model_.SetParity(static_cast<TCommParity>(k));
  }
  model_.SetBaudIndex(cbxBaudRate_->currentIndex());
  model_.SetId(udId_->value());
}

void TFormComParameters::ShowModel() {
  const QSignalBlocker blockAscii(rbAscii_);
  const QSignalBlocker blockRtu(rbRtu_);
  const QSignalBlocker blockEven(rbParity_[0]);
  const QSignalBlocker blockOdd(rbParity_[1]);
  const QSignalBlocker blockNone(rbParity_[2]);
  const QSignalBlocker blockBaud(cbxBaudRate_);
  const QSignalBlocker blockId(udId_);
  (model_.Protocol() == TCommProtocol::Rtu ? rbRtu_ : rbAscii_)->setChecked(true);
  rbParity_[static_cast<std::size_t>(model_.Parity())]->setChecked(true);
  rbParity_[static_cast<std::size_t>(TCommParity::NoneTwoStop)]->setVisible(
      model_.NoneTwoStopVisible());
  cbxBaudRate_->setCurrentIndex(model_.BaudIndex());
  udId_->setValue(model_.Id());
}

void TFormComParameters::ReadOnOpen() { model_.Opened(*link_); }

void TFormComParameters::TakeAnswer(const link::TAcceptedAnswer& answer) {
  if (model_.TakeAnswer(answer)) ShowModel();
}

}  // namespace quarn::ui

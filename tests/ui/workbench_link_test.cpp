// The workbench window bound to the controller link, end to end against the in-process
// simulator on a pseudo-terminal, on the offscreen platform. Waits are bounds polled with
// QTest::qWaitFor; nothing sleeps for a fixed time.
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "link/link_texts.h"
#include "simulator/simulator.h"
#include "ui/comm_parameters_dialog.h"
#include "ui/controller_panel.h"
#include "ui/il_editor_page.h"
#include "ui/lamp.h"
#include "ui/link_binding.h"
#include "ui/log_window.h"
#include "ui/main_window.h"
#include "ui/status_panel.h"

using quarn::ui::LinkBinding;
using quarn::ui::TFormMain;
namespace sim = quarn::simulator;
namespace lamp_colors = quarn::ui::lamp_colors;

namespace {

// Bounds of the waits: generous, for a loaded machine and the sanitizer builds.
constexpr int kConnectBound = 15000;
constexpr int kTransferBound = 30000;

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// One serial adapter on this machine; the simulator comes before it in the selector.
class OnePort final : public quarn::link::TPortScanner {
 public:
  std::vector<std::string> Scan() override { return {"/dev/ttyUSB0"}; }
};

// The window with its log window; the user's answers and the messages shown are recorded.
class Workbench {
 public:
  explicit Workbench(const QString& settingsPath)
      : window_(settingsPath.toStdString(), std::make_unique<OnePort>()),
        logs_(window_.CommonDatas(), "/nonexistent") {
    window_.AttachLogWindow(&logs_);
    LinkBinding::Dialogs dialogs;
    dialogs.message = [this](const QString& text) { messages << text; };
    dialogs.askYesCancel = [this](const QString& question) {
      questions << question;
      return yes;
    };
    dialogs.askYesNo = dialogs.askYesCancel;
    window_.Link()->SetDialogs(std::move(dialogs));
    window_.resize(1280, 720);
    window_.show();
  }

  TFormMain& Window() { return window_; }
  LinkBinding& Link() { return *window_.Link(); }
  const quarn::ui::ControllerPanel::Controls& Left() { return window_.Controller()->controls(); }
  const quarn::ui::StatusPanel::Controls& Bottom() { return window_.Status()->controls(); }
  quarn::ui::TFormLogs& Logs() { return logs_; }

  template <typename Function>
  decltype(auto) Controller(Function&& function) {
    return Link().Simulator()->WithController(std::forward<Function>(function));
  }

  // Chooses "Simulator", connects and waits for the identification to end.
  bool ConnectSimulator() {
    QComboBox* ports = Left().cbxComPort;
    ports->setCurrentIndex(0);
    emit ports->activated(0);
    QTest::mouseClick(Left().btnConnectComPort, Qt::LeftButton);
    quarn::link::TConnectionSession& session = Link().Session();
    const bool identified = QTest::qWaitFor(
        [&] {
          return session.Connected() && !session.Modbus().Identifying() && !session.Modbus().Busy();
        },
        kConnectBound);
    // The link may run ahead of the window: what it posted is shown before the test looks.
    QCoreApplication::sendPostedEvents();
    return identified;
  }

  bool WaitUploadEnded() {
    return QTest::qWaitFor([&] { return !Link().UploadRunning(); }, kTransferBound);
  }

  QStringList messages;
  QStringList questions;
  bool yes = true;

 private:
  TFormMain window_;
  quarn::ui::TFormLogs logs_;
};

}  // namespace

class WorkbenchLinkTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  QString settings_;

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    // Faster polling, so that the lamps follow the controller within a second or so.
    settings_ = dir_.filePath(QStringLiteral("quarn-program-modbus.txt"));
    QFile file(settings_);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("settings\n<STATE_REQ>=100\n");
  }

  void uploadsAProgramAndReadsItBack() {
    Workbench bench(settings_);
    QCOMPARE(bench.Left().cbxComPort->itemText(0), QStringLiteral("Simulator"));
    QCOMPARE(bench.Left().cbxComPort->currentIndex(), 1);  // the real port comes selected
    QVERIFY(bench.ConnectSimulator());
    QCOMPARE(bench.Left().btnConnectComPort->text(), QStringLiteral("Disconnect"));
    QCOMPARE(bench.Left().lblConnection->text(), QStringLiteral("Simulator connected"));
    QCOMPARE(bench.Left().lblVersion->text(), QStringLiteral("HW3.0  FW2.0   BL1.0"));
    QVERIFY(!bench.Left().cbxComPort->isEnabled());
    // The identification picked the simulated model.
    QCOMPARE(bench.Left().cbxDeviceModel->currentIndex(), 2);
    QCOMPARE(bench.Window().Pages()->tabText(2), QStringLiteral("KLEM-B Direct Control"));
    QVERIFY(QTest::qWaitFor(
        [&] { return bench.Left().runStop->Caption() == QStringLiteral("STOP mode"); },
        kConnectBound));
    QCOMPARE(bench.Left().runStop->Color(), lamp_colors::kGreen);
    QCOMPARE(bench.Bottom().communication->Caption(), QStringLiteral("Com port ready"));

    const std::vector<std::string> program = {
        "LD\tX0", "OUT\tY0", "LDP\tX1", "MOV\tK3000\tD361", "TMR\tT0\tK5", "SPIN", "END"};
    const QString path = dir_.filePath(QStringLiteral("program.il"));
    {
      QFile file(path);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(
          "// blink and move\nLD\tX0\nOUT\tY0\n\n; edge\nLDP\tX1\nMOV\tK3000\tD361\n"
          "TMR\tT0\tK5\nSPIN\nEND\n");
    }
    quarn::ui::IlEditorPage* editor = bench.Window().IlEditor();
    editor->LoadProgramFile(path);

    QTest::mouseClick(editor->UploadButton(), Qt::LeftButton);
    QVERIFY(bench.Link().UploadRunning());
    QVERIFY(bench.WaitUploadEnded());
    QCOMPARE(bench.Bottom().lblResult->text(), Text(quarn::link::texts::kResultSuccessful));
    const auto stored = bench.Controller(
        [](sim::TController& c) { return c.ProgramListing(sim::TProgramSlot::Main); });
    QCOMPARE(stored, program);

    QTest::mouseClick(editor->ReadButton(), Qt::LeftButton);
    QCOMPARE(bench.questions, QStringList{Text(quarn::link::texts::kClearListQuestion)});
    QVERIFY(!bench.Window().Pages()->isEnabled());  // no editing while the list is being filled
    QVERIFY(QTest::qWaitFor([&] { return !bench.Link().Transfer().Reading(); }, kTransferBound));
    QVERIFY(QTest::qWaitFor([&] { return bench.Window().Pages()->isEnabled(); }, kTransferBound));
    std::vector<std::string> expected = program;
    expected.push_back("//Totally 7 commands were read from the controller");
    QCOMPARE(editor->ProgramLines(), expected);
    QVERIFY(bench.messages.isEmpty());

    // Every frame went through the transfer log.
    QVERIFY(bench.Logs().Text().contains(QStringLiteral(" Send: :01")));
    QVERIFY(bench.Logs().Text().contains(QStringLiteral(" Recv: :01")));

    QTest::mouseClick(bench.Left().btnConnectComPort, Qt::LeftButton);
    QCOMPARE(bench.Left().btnConnectComPort->text(), QStringLiteral("Connect"));
    QCOMPARE(bench.Bottom().communication->Caption(), QStringLiteral("Not connected"));
    QVERIFY(bench.Link().Simulator() == nullptr);
    QVERIFY(!editor->UploadButton()->isEnabled());
    QVERIFY(bench.Left().cbxComPort->isEnabled());
  }

  void lampsAndErrorsFollowTheController() {
    Workbench bench(settings_);
    QVERIFY(bench.ConnectSimulator());
    bench.Controller([](sim::TController& c) {
      c.SetInput(2, true);
      c.SetOutputs(0x81);
      c.SetErrorFlag(sim::kErrorBattery, true);
      c.SetErrorFlag(sim::kErrorUserProgram, true);
      c.SetErrorCodes(0, 0x12, 1);
      c.SetRunning(true);
    });
    const auto& left = bench.Left();
    // A whole round of polls, one register a tick.
    QVERIFY(QTest::qWaitFor(
        [&] {
          return left.runStop->Caption() == QStringLiteral("RUN mode") &&
                 left.errors->Caption() == QStringLiteral("Error occurred") &&
                 left.lblUserProgramLine->text() == QStringLiteral("line: 1") &&
                 left.lblUserProgramCode->text() == QStringLiteral("code: 0x12") &&
                 left.outputs[7]->Color() == lamp_colors::kYellow &&
                 left.inputs[2]->Color() == lamp_colors::kYellow;
        },
        kConnectBound));
    QCOMPARE(left.runStop->Color(), lamp_colors::kRed);
    QCOMPARE(left.inputs[0]->Color(), lamp_colors::kWhite);
    QCOMPARE(left.outputs[0]->Color(), lamp_colors::kYellow);
    QCOMPARE(left.errors->Color(), lamp_colors::kRed);
    QCOMPARE(left.batteryError->Caption(), QStringLiteral("CR2032 discharged"));
    QVERIFY(left.lblReplaceBattery->isVisible());
    QCOMPARE(left.romError->Caption(), QStringLiteral("ROM - no error"));
    QCOMPARE(left.romError->Color(), lamp_colors::kGreen);
    QVERIFY(!left.lblRomCode->isVisible());
    QVERIFY(left.lblUserProgramCode->isVisible());

    // The code's text from the error table.
    QTest::mouseClick(left.lblUserProgramCode, Qt::LeftButton);
    QCOMPARE(bench.messages.size(), 1);
    QVERIFY(bench.messages[0].startsWith(QStringLiteral("0x12: ")));

    // The controller counts instructions: line 1 is the second instruction, below a comment.
    quarn::ui::IlEditorPage* editor = bench.Window().IlEditor();
    editor->SetProgramText(QStringLiteral("// start\nLD\tX0\n\nOUT\tY0\nEND"));
    QTest::mouseClick(left.lblUserProgramLine, Qt::LeftButton);
    QCOMPARE(bench.questions.last(),
             QStringLiteral("The program in the controller memory and the list may differ. "
                            "Highlight command line 1 in the current list?"));
    QCOMPARE(editor->ProgramColumn()->textCursor().selectedText(), QStringLiteral("OUT\tY0"));

    // An upload into a running controller stops at its first request, and says so.
    QTest::mouseClick(editor->UploadButton(), Qt::LeftButton);
    QVERIFY(bench.WaitUploadEnded());
    QCOMPARE(bench.Bottom().lblResult->text(),
             Text(quarn::link::texts::kTransferNotFinished) + QLatin1Char('0'));
    QCOMPARE(bench.Controller([](sim::TController& c) {
      return c.ProgramListing(sim::TProgramSlot::Main).size();
    }),
             std::size_t{0});

    QTest::mouseClick(left.btnClearErrors, Qt::LeftButton);
    QVERIFY(QTest::qWaitFor([&] { return left.errors->Caption() == QStringLiteral("No errors"); },
                            kConnectBound));
    QCOMPARE(left.errors->Color(), lamp_colors::kGreen);
    QVERIFY(!left.batteryError->isVisible());
    QVERIFY(!left.lblUserProgramLine->isVisible());
  }

  void communicationParametersAreReadAndApplied() {
    Workbench bench(settings_);
    using quarn::ui::TFormComParameters;
    const auto radio = [](TFormComParameters* dialog, const char* name) {
      return dialog->findChild<QRadioButton*>(QString::fromLatin1(name));
    };
    // Without a controller the dialog reads nothing, and its buttons say why.
    TFormComParameters* dialog = bench.Link().OpenCommParameters();
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Communication parameters"));
    QVERIFY(bench.messages.isEmpty());
    QVERIFY(!radio(dialog, "rbNone")->isVisible());
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("btnReadSettings")),
                      Qt::LeftButton);
    QCOMPARE(bench.messages, QStringList{QStringLiteral("No connection")});
    dialog->close();
    QVERIFY(QTest::qWaitFor(
        [&] { return bench.Window().findChild<TFormComParameters*>() == nullptr; }, 1000));

    QVERIFY(bench.ConnectSimulator());
    bench.Controller([](sim::TController& c) {
      c.Poke(sim::TTable::Holding, 0x8100, 57600 & 0xFFFF);  // low half first
      c.Poke(sim::TTable::Holding, 0x8101, 57600 >> 16);
      c.Poke(sim::TTable::Holding, 0x8102, 1);
      c.Poke(sim::TTable::Holding, 0x8103, 9);
    });
    dialog = bench.Link().OpenCommParameters();
    auto* baud = dialog->findChild<QComboBox*>(QStringLiteral("cbxBaudRate"));
    auto* id = dialog->findChild<QSpinBox*>(QStringLiteral("udId"));
    QCOMPARE(baud->currentText(), QStringLiteral("115200"));  // the dialog's start values
    QVERIFY(QTest::qWaitFor([&] { return id->value() == 9; }, kConnectBound));
    QCOMPARE(baud->currentText(), QStringLiteral("57600"));
    QVERIFY(radio(dialog, "rbOdd")->isChecked());
    QVERIFY(radio(dialog, "rbAscii")->isChecked());

    radio(dialog, "rbEven")->setChecked(true);
    baud->setCurrentIndex(baud->findText(QStringLiteral("38400")));
    id->setValue(7);
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("btnApplySettings")),
                      Qt::LeftButton);
    const auto settings = [&] {
      return bench.Controller([](sim::TController& c) {
        return std::vector<int>{
            c.Peek(sim::TTable::Holding, 0x8100) | c.Peek(sim::TTable::Holding, 0x8101) << 16,
            c.Peek(sim::TTable::Holding, 0x8102), c.Peek(sim::TTable::Holding, 0x8103)};
      });
    };
    QVERIFY(QTest::qWaitFor(
        [&] {
          return settings() == std::vector<int>{38400, 2, 7};
        },
        kConnectBound));
    QVERIFY(radio(dialog, "rbEven")->isChecked());
    QCOMPARE(id->value(), 7);
    QCOMPARE(bench.messages.size(), 1);
  }

  void closingDuringADownloadEndsPromptly() {
    auto bench = std::make_unique<Workbench>(settings_);
    QVERIFY(bench->ConnectSimulator());
    std::vector<std::string> program(3000, "LD\tX0");
    program.push_back("END");
    std::string error;
    QVERIFY(bench->Controller([&](sim::TController& c) {
      return c.LoadProgram(sim::TProgramSlot::Main, program, error);
    }));
    quarn::ui::IlEditorPage* editor = bench->Window().IlEditor();
    QTest::mouseClick(editor->ReadButton(), Qt::LeftButton);
    auto* counter = editor->findChild<QLabel*>(QStringLiteral("lblProgramReadingCounter"));
    QVERIFY(QTest::qWaitFor([&] { return counter->text() != QStringLiteral("Commands: 0"); },
                            kTransferBound));
    QVERIFY(bench->Link().Transfer().Reading());

    QElapsedTimer closing;
    closing.start();
    bench->Window().close();
    bench.reset();
    QVERIFY2(closing.elapsed() < 2000, qPrintable(QString::number(closing.elapsed())));
  }

  void writeLogOffKeepsTheTransferLogEmpty() {
    const QString quiet = dir_.filePath(QStringLiteral("quiet.txt"));
    QFile file(quiet);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("settings\n<WRITE_LOG>=0\n");
    file.close();
    Workbench bench(quiet);
    QVERIFY(bench.ConnectSimulator());
    QCOMPARE(bench.Left().cbxDeviceModel->currentIndex(), 2);  // the link did talk
    QCOMPARE(bench.Logs().Text(), QString());
  }

  void aPortThatDoesNotOpenSaysWhy() {
    Workbench bench(settings_);
    QComboBox* ports = bench.Left().cbxComPort;
    const QString missing = dir_.filePath(QStringLiteral("ttyNONE"));
    ports->setEditText(missing);  // typed by the user
    QTest::mouseClick(bench.Left().btnConnectComPort, Qt::LeftButton);
    QCOMPARE(ports->currentText(), missing);  // it became an item of the list
    QCOMPARE(bench.Bottom().communication->Caption(), QStringLiteral("Not connected"));
    QCOMPARE(bench.Left().btnConnectComPort->text(), QStringLiteral("Connect"));
    QCOMPARE(bench.messages.size(), 1);
    QVERIFY(bench.messages[0].startsWith(QStringLiteral("Cannot open port ") + missing));
  }
};

QTEST_MAIN(WorkbenchLinkTest)
#include "workbench_link_test.moc"

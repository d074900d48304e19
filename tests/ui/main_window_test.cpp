// The main window, the transfer-log window and the "Program Settings" dialog, on the offscreen
// platform.
#include "ui/main_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "shell/shell_texts.h"
#include "ui/il_editor_page.h"
#include "ui/link_binding.h"
#include "ui/log_window.h"
#include "ui/program_settings_dialog.h"

using quarn::ui::TFormLogs;
using quarn::ui::TFormMain;
using quarn::ui::TFormProgramSettings;

namespace {

class FixedClock final : public quarn::shell::LogClock {
 public:
  quarn::shell::LogTimestamp Now() const override { return {2025, 12, 9, 14, 3, 27}; }
};

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

// A machine with two ports. Scan also runs on the background scan's thread; the list is fixed.
class TwoPorts final : public quarn::link::TPortScanner {
 public:
  std::vector<std::string> Scan() override { return {"/dev/ttyUSB0", "/dev/ttyS0"}; }
};

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;

  QString SettingsFile(const QByteArray& content) {
    const QString path = dir_.filePath(QStringLiteral("quarn-program-modbus.txt"));
    WriteFile(path, content);
    return path;
  }

 private slots:
  void initTestCase() { QVERIFY(dir_.isValid()); }

  void startsWithTitleIconPagesAndDefaults() {
    TFormMain window(dir_.filePath(QStringLiteral("none.txt")).toStdString());
    QCOMPARE(window.windowTitle(), QStringLiteral("Quarn-Program-Modbus, ver. 3.0.5  -  Brevik"));
    QVERIFY(!window.windowIcon().isNull());
    QCOMPARE(window.StatusTimer()->interval(), 200);
    QCOMPARE(window.StateResetTimer()->interval(), 1200);
    QVERIFY(window.CommonDatas().SaveLog);

    QTabWidget* pages = window.Pages();
    QCOMPARE(pages->tabText(0), QStringLiteral("Ladder Diagram Mode"));
    QCOMPARE(pages->tabText(1), QStringLiteral("Instructions List Mode"));
    // The first model is selected at start; its direct-control page shows, the other stays.
    QCOMPARE(pages->tabText(2), QStringLiteral("KLEM-A ver.2 Direct Control"));
    QVERIFY(pages->isTabVisible(2));
    QVERIFY(!pages->isTabVisible(3));
  }

  void portsAreListedAtStartAndWhenPublished() {
    TFormMain window(dir_.filePath(QStringLiteral("none.txt")).toStdString(),
                     std::make_unique<TwoPorts>());
    auto* ports = window.findChild<QComboBox*>(QStringLiteral("cbxComPort"));
    // The simulator comes first; a real port, when there is one, is the one selected.
    QCOMPARE(ports->count(), 3);
    QCOMPARE(ports->itemText(0), QStringLiteral("Simulator"));
    QCOMPARE(ports->itemText(1), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(ports->currentIndex(), 1);

    window.Link()->ApplyPublishedPorts({"/dev/ttyACM0", "/dev/ttyUSB0", "/dev/ttyUSB1"});
    QCOMPARE(ports->count(), 4);
    QCOMPARE(ports->itemText(3), QStringLiteral("/dev/ttyUSB1"));
    window.Link()->ApplyPublishedPorts({});
    QCOMPARE(ports->count(), 1);
    QCOMPARE(ports->currentText(), QStringLiteral("Simulator"));
    QCOMPARE(ports->placeholderText(), QStringLiteral("COM port..."));
  }

  void choosingAModelAdaptsTheWindow() {
    TFormMain window(dir_.filePath(QStringLiteral("none.txt")).toStdString());
    window.show();
    auto* models = window.findChild<QComboBox*>(QStringLiteral("cbxDeviceModel"));
    QCOMPARE(models->count(), 4);
    QCOMPARE(models->itemText(0), QStringLiteral("Default controller"));
    auto* supply = window.findChild<QWidget*>(QStringLiteral("shpSupplyVoltage"));
    auto* internal = window.findChild<QWidget*>(QStringLiteral("shpInternalVoltage"));
    struct Case {
      int index;
      const char* caption;
      bool supply;
      bool internal;
    };
    const Case cases[] = {{2, "KLEM-B Direct Control", true, true},
                          {1, "KLEM-A ver.3 Direct Control", true, false},
                          {0, "KLEM-A ver.2 Direct Control", false, false}};
    for (const Case& c : cases) {
      models->setCurrentIndex(c.index);
      emit models->activated(c.index);
      QCOMPARE(window.Pages()->tabText(2), QString::fromLatin1(c.caption));
      QVERIFY(window.Pages()->isTabVisible(2));
      QCOMPARE(supply->isVisible(), c.supply);
      QCOMPARE(internal->isVisible(), c.internal);
    }
  }

  void settingsFileSetsTheTimers() {
    struct Case {
      QByteArray file;
      int interval;
    };
    const Case cases[] = {
        {"<STATE_REQ>=500\n", 200},  // the first line is never a setting
        {"settings\n<STATE_REQ>=500\n", 500},
        {"settings\n<STATE_REQ>=50\n", 200},     // below the range
        {"settings\n<STATE_REQ>=5000\n", 5000},  // bounds included
    };
    for (const Case& c : cases) {
      TFormMain window(SettingsFile(c.file).toStdString());
      QCOMPARE(window.StatusTimer()->interval(), c.interval);
    }
  }

  void hiddenServiceControlsSetPollIntervalAndLanguage() {
    TFormMain window(dir_.filePath(QStringLiteral("none.txt")).toStdString());
    window.show();
    for (const int interval : {10000, 1000, 200}) {
      auto* button =
          window.findChild<QPushButton*>(QStringLiteral("btnPollInterval%1").arg(interval));
      QVERIFY(button != nullptr);
      QVERIFY(!button->isVisible());
      button->click();
      QCOMPARE(window.StatusTimer()->interval(), interval);
    }
    auto* languages = window.findChild<QComboBox*>(QStringLiteral("cbxLanguage"));
    QVERIFY(!languages->isVisible());
    QCOMPARE(languages->count(), 3);
    QCOMPARE(languages->itemText(1), QStringLiteral("Russian"));
    emit languages->activated(2);
    QCOMPARE(window.CommonDatas().Language, std::string("ES"));
  }

  void logWindowShowsAndHides() {
    TFormMain window(dir_.filePath(QStringLiteral("none.txt")).toStdString());
    TFormLogs logs(window.CommonDatas(), dir_.path().toStdString(), std::make_unique<FixedClock>());
    window.AttachLogWindow(&logs);
    window.show();
    QCOMPARE(logs.windowTitle(), QStringLiteral("Data transition logs"));
    QVERIFY(!logs.isVisible());

    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("btnShowLogList")),
                      Qt::LeftButton);
    QVERIFY(logs.isVisible());
    logs.AddLogMessage(quarn::shell::LogSend, ":010300000001FB\r\n");
    logs.close();
    QVERIFY(!logs.isVisible());
    QCOMPARE(logs.Text(), QStringLiteral(" Send: :010300000001FB"));  // kept while hidden

    window.ShowLogList();
    QVERIFY(logs.isVisible());
    window.close();  // the log window goes with the main window
    QVERIFY(!logs.isVisible());
    QVERIFY(window.ApplicationClosing());
    QVERIFY(!window.StatusTimer()->isActive());
  }

  void logSavesItselfWhenFull() {
    quarn::shell::TCommonDatas datas;
    datas.LinesToLog = 100;
    datas.LogPath = dir_.filePath(QStringLiteral("full")).toStdString();
    TFormLogs logs(datas, "/unused", std::make_unique<FixedClock>());
    for (int line = 0; line < 102; ++line) {
      logs.AddLogMessage(quarn::shell::LogRecv, "line " + std::to_string(line));
    }
    const QString saved = dir_.filePath(QStringLiteral("full/logs/09-12-2025 14-03-27.txt"));
    QVERIFY(QFile::exists(saved));
    QFile file(saved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().count('\n'), 101);
    const QStringList shown = logs.Text().split(QLatin1Char('\n'));
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0], Text(quarn::shell::texts::kLogSaved) + saved);
    QCOMPARE(shown[1], QStringLiteral(" Recv: line 101"));

    QTest::mouseClick(logs.findChild<QPushButton*>(QStringLiteral("btnClear")), Qt::LeftButton);
    QCOMPARE(logs.Text(), QString());
  }

  void logFolderErrorShowsTheRedPanel() {
    const QString blocker = dir_.filePath(QStringLiteral("blocker"));
    WriteFile(blocker, "a file where the folder should be");
    quarn::shell::TCommonDatas datas;
    datas.LogPath = blocker.toStdString();
    TFormLogs logs(datas, "/unused", std::make_unique<FixedClock>());
    logs.show();
    QVERIFY(!logs.ErrorPanelVisible());
    logs.AddLogMessage(quarn::shell::LogError, "No answer");
    QTest::mouseClick(logs.findChild<QPushButton*>(QStringLiteral("btnSaveToFile")),
                      Qt::LeftButton);
    QVERIFY(logs.ErrorPanelVisible());
    auto* panel = logs.findChild<QLabel*>(QStringLiteral("pnlError"));
    QCOMPARE(panel->text(), Text(quarn::shell::texts::kLogFolderError) + blocker + "/logs");
    QCOMPARE(logs.Text(), QStringLiteral("Error: No answer"));  // the log is kept
  }

  void programSettingsApplyKeepsTheDialogOpen() {
    quarn::shell::TCommonDatas datas;
    datas.CompileLog = true;
    datas.MaxFragmentBlocks = 5000;
    std::vector<int> intervals;
    TFormProgramSettings dialog(datas,
                                [&intervals](int interval) { intervals.push_back(interval); });
    dialog.show();
    // It opens with its own start values, not the current settings.
    auto* blocks = dialog.findChild<QSpinBox*>(QStringLiteral("udMaxBlocks"));
    QCOMPARE(blocks->value(), 1000);
    auto* apply = dialog.findChild<QPushButton*>(QStringLiteral("btnApply"));
    QTest::mouseClick(apply, Qt::LeftButton);
    QCOMPARE(static_cast<int>(datas.MaxFragmentBlocks), 1000);
    QVERIFY(!datas.CompileLog);
    QVERIFY(dialog.isVisible());

    blocks->setValue(20000);  // clamped by the up-down
    dialog.findChild<QRadioButton*>(QStringLiteral("rb10sec"))->setChecked(true);
    QTest::mouseClick(apply, Qt::LeftButton);
    QCOMPARE(static_cast<int>(datas.MaxFragmentBlocks), 10000);
    QCOMPARE(intervals, (std::vector<int>{200, 5000}));
    QCOMPARE(datas.StatusTimerInterval, 5000);
    QVERIFY(dialog.isVisible());
  }

  void menusCarryTheShortcuts() {
    TFormMain window(dir_.filePath(QStringLiteral("none.txt")).toStdString());
    QStringList shortcuts;
    for (QAction* action : window.menuBar()->findChildren<QAction*>()) {
      if (!action->shortcut().isEmpty()) shortcuts << action->shortcut().toString();
    }
    for (const char* wanted : {"Ctrl+O", "Ctrl+S", "Ctrl+P", "Ctrl+Q"}) {
      QVERIFY2(shortcuts.contains(QString::fromLatin1(wanted)), wanted);
    }
  }

  void fitsSmallAndLargeScreens() {
    TFormMain window(dir_.filePath(QStringLiteral("none.txt")).toStdString());
    // What the layouts need must fit a 1366 x 768 screen less a task bar.
    const QSize needed = window.minimumSizeHint();
    QVERIFY2(needed.width() <= 1366 && needed.height() <= 740,
             qPrintable(QStringLiteral("%1 x %2").arg(needed.width()).arg(needed.height())));
    for (const QSize size : {QSize(1366, 740), QSize(1920, 1050)}) {
      window.resize(size);
      window.show();
      QCoreApplication::processEvents();
      auto* program = window.findChild<QPlainTextEdit*>(QStringLiteral("RichEditILP"));
      QVERIFY(program->width() > size.width() / 3);
      QVERIFY(program->height() > size.height() / 3);
    }
  }

  void everyButtonIsReachableByKeyboard() {
    TFormMain window(dir_.filePath(QStringLiteral("none.txt")).toStdString());
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
      // Qt's own helpers (tab scroll arrows, the menu bar's overflow button) are left to Qt.
      if (qobject_cast<QTabBar*>(button->parent()) != nullptr ||
          button->objectName().startsWith(QStringLiteral("qt_"))) {
        continue;
      }
      QVERIFY2(button->focusPolicy() & Qt::TabFocus, qPrintable(button->objectName()));
    }
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"

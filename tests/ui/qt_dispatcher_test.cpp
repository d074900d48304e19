// The link's dispatcher on Qt's event loop: order and thread of posted work, the blocking
// Invoke, and closing while a worker waits.
#include "ui/qt_dispatcher.h"

#include <QTest>
#include <QThread>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

using quarn::ui::TQtDispatcher;

class QtDispatcherTest : public QObject {
  Q_OBJECT

 private slots:
  void postedWorkRunsInOrderOnTheUiThread() {
    TQtDispatcher dispatcher;
    std::vector<int> order;
    std::atomic<bool> offThread{false};
    QThread* ui = QThread::currentThread();
    std::thread worker([&] {
      for (int k = 0; k < 200; ++k) {
        dispatcher.Post([&, k] {
          if (QThread::currentThread() != ui) offThread = true;
          order.push_back(k);
        });
      }
    });
    worker.join();
    QVERIFY(order.empty());  // nothing runs before the loop does
    QVERIFY(QTest::qWaitFor([&] { return order.size() == 200; }, 5000));
    QVERIFY(!offThread);
    for (int k = 0; k < 200; ++k) QCOMPARE(order[static_cast<std::size_t>(k)], k);
  }

  void invokeWaitsForTheWorkOrRunsItInline() {
    TQtDispatcher dispatcher;
    QVERIFY(dispatcher.OnUiThread());
    int inlineRuns = 0;
    QVERIFY(dispatcher.Invoke([&] { ++inlineRuns; }));
    QCOMPARE(inlineRuns, 1);  // on the UI thread it runs at once

    std::atomic<bool> ran{false};
    std::atomic<bool> returned{false};
    std::atomic<bool> answer{false};
    std::atomic<bool> workerOnUi{true};
    QThread* ui = QThread::currentThread();
    std::thread worker([&] {
      workerOnUi = dispatcher.OnUiThread();
      answer = dispatcher.Invoke([&] { ran = QThread::currentThread() == ui; });
      returned = true;
    });
    QVERIFY(QTest::qWaitFor([&] { return returned.load(); }, 5000));
    worker.join();
    QVERIFY(!workerOnUi);
    QVERIFY(answer);
    QVERIFY(ran);
  }

  void closingReleasesAWaitingInvokeAndDropsQueuedWork() {
    TQtDispatcher dispatcher;
    std::atomic<bool> started{false};
    std::atomic<bool> answer{true};
    std::atomic<int> runs{0};
    dispatcher.Post([&] { ++runs; });  // queued, never run: the loop does not turn before Close
    std::thread worker([&] {
      started = true;
      answer = dispatcher.Invoke([&] { ++runs; });
    });
    // The UI thread is busy elsewhere (here: waiting) and never serves the Invoke; the window
    // closes meanwhile.
    while (!started) std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const auto closing = std::chrono::steady_clock::now();
    dispatcher.Close();
    worker.join();
    QVERIFY(std::chrono::steady_clock::now() - closing < std::chrono::seconds(1));
    QVERIFY(!answer);
    dispatcher.Post([&] { ++runs; });
    QVERIFY(!dispatcher.Invoke([&] { ++runs; }));
    QTest::qWait(50);
    QCOMPARE(runs.load(), 0);
  }
};

QTEST_MAIN(QtDispatcherTest)
#include "qt_dispatcher_test.moc"

#include "services/IconList.h"
#include "services/IntervalTimer.h"
#include "services/SubclassService.h"
#include "services/kxISubclass.h"

#include <QSignalSpy>
#include <QTest>
#include <QWidget>

namespace {

const QEvent::Type kProbe = static_cast<QEvent::Type>(QEvent::User + 7);

QStringList s_log;

// A widget whose own handling of the probe event leaves a trace.
class ProbeWidget : public QWidget
{
public:
    bool event(QEvent *event) override
    {
        if (event->type() == kProbe) {
            s_log << QStringLiteral("widget");
            return true;
        }
        return QWidget::event(event);
    }
};

class Handler : public kxISubclass
{
public:
    Handler(int response, bool passOn)
        : m_response(response)
        , m_passOn(passOn)
    {
    }

    int MsgResponse() override { return m_response; }
    bool WindowProc(QObject *target, QEvent *event) override
    {
        s_log << QStringLiteral("handler");
        seen = SubclassService::instance().DispatchedMessage();
        if (m_passOn)
            SubclassService::instance().CallPreviousProc(target, event);
        return true;
    }

    QEvent::Type seen = QEvent::None;

private:
    int m_response;
    bool m_passOn;
};

IconList filledList(int count)
{
    IconList list;
    for (int i = 0; i < count; ++i) {
        QPixmap pixmap(32, 32);
        pixmap.fill(QColor::fromHsv(i * 40, 255, 255));
        list.AddIcon(QIcon(pixmap));
    }
    return list;
}

} // namespace

class TestUiServices : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { s_log.clear(); }

    void responseCodes_data();
    void responseCodes();
    void dispatchedMessageIsCurrentOnlyDuringDispatch();
    void unwatchedOrOtherEventsPassUntouched();
    void handlerGoneStopsWatching();

    void timerFiresEveryInterval();
    void zeroIntervalStops();
    void stoppingInsideThatTimeMakesAOneShot();

    void iconIndexesStartAtZero_data();
    void iconIndexesStartAtZero();
    void iconsAreSixteenPixels();
    void handlesFindLiveLists();
};

void TestUiServices::responseCodes_data()
{
    QTest::addColumn<int>("response");
    QTest::addColumn<bool>("passOn");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("1: widget first") << 1 << false << QStringList{"widget", "handler"};
    QTest::newRow("0: handler withholds") << 0 << false << QStringList{"handler"};
    QTest::newRow("0: handler passes on") << 0 << true << QStringList{"handler", "widget"};
    QTest::newRow("2: handler withholds") << 2 << false << QStringList{"handler"};
    QTest::newRow("2: handler passes on") << 2 << true << QStringList{"handler", "widget"};
}

void TestUiServices::responseCodes()
{
    QFETCH(int, response);
    QFETCH(bool, passOn);
    QFETCH(QStringList, expected);
    ProbeWidget widget;
    Handler handler(response, passOn);
    SubclassService::instance().WatchMessage(&handler, &widget, kProbe);
    QEvent probe(kProbe);
    QCoreApplication::sendEvent(&widget, &probe);
    QCOMPARE(s_log, expected);
}

void TestUiServices::dispatchedMessageIsCurrentOnlyDuringDispatch()
{
    ProbeWidget widget;
    Handler handler(0, false);
    SubclassService &service = SubclassService::instance();
    service.WatchMessage(&handler, &widget, kProbe);
    QEvent probe(kProbe);
    QCoreApplication::sendEvent(&widget, &probe);
    QCOMPARE(handler.seen, kProbe);
    QCOMPARE(service.DispatchedMessage(), QEvent::None);
}

void TestUiServices::unwatchedOrOtherEventsPassUntouched()
{
    ProbeWidget widget;
    Handler handler(0, false);
    SubclassService &service = SubclassService::instance();
    service.WatchMessage(&handler, &widget, QEvent::Resize);
    QEvent probe(kProbe);
    QCoreApplication::sendEvent(&widget, &probe);
    QCOMPARE(s_log, QStringList{"widget"});

    service.WatchMessage(&handler, &widget, kProbe);
    service.UnwatchMessage(&handler, &widget, kProbe);
    QVERIFY(!service.isWatched(&widget, kProbe));
    QVERIFY(service.isWatched(&widget, QEvent::Resize));
    QCoreApplication::sendEvent(&widget, &probe);
    QCOMPARE(s_log, (QStringList{"widget", "widget"}));
}

void TestUiServices::handlerGoneStopsWatching()
{
    ProbeWidget widget;
    {
        Handler handler(0, false);
        SubclassService::instance().WatchMessage(&handler, &widget, kProbe);
    }
    QVERIFY(!SubclassService::instance().isWatched(&widget, kProbe));
    QEvent probe(kProbe);
    QCoreApplication::sendEvent(&widget, &probe);
    QCOMPARE(s_log, QStringList{"widget"});
}

void TestUiServices::timerFiresEveryInterval()
{
    IntervalTimer timer;
    QSignalSpy ticks(&timer, &IntervalTimer::ThatTime);
    timer.setInterval(10);
    QCOMPARE(timer.Interval(), 10);
    QTRY_VERIFY(ticks.count() >= 3);
}

void TestUiServices::zeroIntervalStops()
{
    IntervalTimer timer;
    QSignalSpy ticks(&timer, &IntervalTimer::ThatTime);
    timer.setInterval(5);
    timer.setInterval(0);
    QCOMPARE(timer.Interval(), 0);
    QTest::qWait(30);
    QCOMPARE(ticks.count(), 0);
}

void TestUiServices::stoppingInsideThatTimeMakesAOneShot()
{
    IntervalTimer timer;
    int ticks = 0;
    connect(&timer, &IntervalTimer::ThatTime, this, [&] {
        ++ticks;
        timer.setInterval(0);
    });
    timer.setInterval(5);
    QTRY_COMPARE(ticks, 1);
    QTest::qWait(30);
    QCOMPARE(ticks, 1);
}

void TestUiServices::iconIndexesStartAtZero_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("drawn");
    QTest::newRow("first") << 0 << true;
    QTest::newRow("last") << 2 << true;
    QTest::newRow("one past the end") << 3 << false;
    QTest::newRow("none") << -1 << false;
}

void TestUiServices::iconIndexesStartAtZero()
{
    QFETCH(int, index);
    QFETCH(bool, drawn);
    const IconList list = filledList(3);
    QCOMPARE(list.isValidIndex(index), drawn);
    QCOMPARE(!list.icon(index).isNull(), drawn);
    QCOMPARE(!list.pixmap(index).isNull(), drawn);
}

void TestUiServices::iconsAreSixteenPixels()
{
    IconList list = filledList(1);
    QCOMPARE(list.AddIcon(QIcon()), 1);
    QCOMPARE(list.pixmap(0).size(), QSize(16, 16));
    QCOMPARE(list.iconSize(), QSize(16, 16));
}

void TestUiServices::handlesFindLiveLists()
{
    qintptr gone = 0;
    {
        IconList first = filledList(1);
        const IconList copy = first;
        QVERIFY(first.hImageList() != 0);
        QVERIFY(copy.hImageList() != first.hImageList());
        QCOMPARE(IconList::fromHandle(first.hImageList()), &first);
        QCOMPARE(IconList::fromHandle(copy.hImageList()), &copy);
        QCOMPARE(copy.count(), 1);
        gone = first.hImageList();
    }
    QCOMPARE(IconList::fromHandle(gone), nullptr);
    QCOMPARE(IconList::fromHandle(0), nullptr);
}

QTEST_MAIN(TestUiServices)
#include "test_ui_services.moc"

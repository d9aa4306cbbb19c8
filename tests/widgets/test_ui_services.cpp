#include "IconList.h"
#include "IntervalTimer.h"
#include "EventHooks.h"
#include "EventHook.h"

#include <QSignalSpy>
#include <QTest>
#include <QWidget>

namespace {

const QEvent::Type kProbe = static_cast<QEvent::Type>(QEvent::User + 7);
QStringList s_log;

// A widget whose own handling of the probe event leaves a trace.
struct ProbeWidget : QWidget
{
    bool event(QEvent *event) override
    {
        if (event->type() != kProbe)
            return QWidget::event(event);
        s_log << "widget";
        return true;
    }
    void probe()
    {
        QEvent probe(kProbe);
        QCoreApplication::sendEvent(this, &probe);
    }
};

struct Handler : EventHook
{
    Handler(int code, bool passing) : response(code), passOn(passing) { }
    int msgResponse() override { return response; }
    bool windowProc(QObject *target, QEvent *event) override
    {
        s_log << "handler";
        seen = EventHooks::instance().dispatchedMessage();
        if (passOn)
            EventHooks::instance().callPreviousProc(target, event);
        return true;
    }
    int response;
    bool passOn;
    QEvent::Type seen = QEvent::None;
};

IconList filledList(int count)
{
    IconList list;
    for (int i = 0; i < count; ++i) {
        QPixmap pixmap(32, 32);
        pixmap.fill(QColor::fromHsv(i * 40, 255, 255));
        list.addIcon(QIcon(pixmap));
    }
    return list;
}

} // namespace

class TestUiServices : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { s_log.clear(); }

    void responseCodes_data()
    {
        QTest::addColumn<int>("response");
        QTest::addColumn<bool>("passOn");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("1: widget first") << 1 << false << QStringList { "widget", "handler" };
        QTest::newRow("0: handler withholds") << 0 << false << QStringList { "handler" };
        QTest::newRow("2: handler passes on") << 2 << true << QStringList { "handler", "widget" };
    }
    void responseCodes()
    {
        QFETCH(int, response);
        QFETCH(bool, passOn);
        QFETCH(QStringList, order);
        ProbeWidget widget;
        Handler handler(response, passOn);
        EventHooks::instance().watchMessage(&handler, &widget, kProbe);
        widget.probe();
        QCOMPARE(s_log, order);
        QCOMPARE(handler.seen, kProbe);
        QCOMPARE(EventHooks::instance().dispatchedMessage(), QEvent::None);
    }

    void unwatchedOrGoneHandlersLeaveTheWidgetAlone()
    {
        EventHooks &service = EventHooks::instance();
        ProbeWidget widget;
        Handler handler(0, false);
        service.watchMessage(&handler, &widget, QEvent::Resize);
        service.watchMessage(&handler, &widget, kProbe);
        service.unwatchMessage(&handler, &widget, kProbe);
        QVERIFY(service.isWatched(&widget, QEvent::Resize));
        widget.probe();
        {
            Handler gone(0, false);
            service.watchMessage(&gone, &widget, kProbe);
        }
        QVERIFY(!service.isWatched(&widget, kProbe));
        widget.probe();
        QCOMPARE(s_log, (QStringList { "widget", "widget" }));
    }

    void timerTicksUntilStopped()
    {
        IntervalTimer timer;
        int ticks = 0;
        connect(&timer, &IntervalTimer::thatTime, this, [&] {
            if (++ticks == 3)
                timer.setInterval(0);
        });
        timer.setInterval(5);
        QTRY_COMPARE(ticks, 3);
        // Stopped from inside its own tick, it stays stopped.
        QTest::qWait(30);
        QCOMPARE(ticks, 3);
    }

    void iconListsCountFromZeroAndHandlesFindLiveOnes()
    {
        IconList list = filledList(3);
        for (const int index : { -1, 0, 2, 3 }) {
            const bool drawn = index == 0 || index == 2;
            QCOMPARE(!list.icon(index).isNull(), drawn);
            QCOMPARE(!list.pixmap(index).isNull(), drawn);
        }
        QCOMPARE(list.addIcon(QIcon()), 3);
        QCOMPARE(list.pixmap(0).size(), QSize(16, 16));
        // Handles find live lists only.
        qintptr gone = 0;
        {
            IconList first = filledList(1);
            const IconList copy = first;
            QVERIFY(first.hImageList() != 0 && copy.hImageList() != first.hImageList());
            QCOMPARE(IconList::fromHandle(first.hImageList()), &first);
            QCOMPARE(IconList::fromHandle(copy.hImageList()), &copy);
            gone = first.hImageList();
        }
        QCOMPARE(IconList::fromHandle(gone), nullptr);
        QCOMPARE(IconList::fromHandle(0), nullptr);
    }
};

QTEST_MAIN(TestUiServices)
#include "test_ui_services.moc"

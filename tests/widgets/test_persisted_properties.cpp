#include "OleColor.h"
#include "ProgressBar.h"
#include "PropertyBag.h"
#include "StatusBar.h"
#include "TabControl.h"
#include "TextBox.h"
#include "toolbar/ToolbarHost.h"

#include <QApplication>
#include <QProgressBar>
#include <QTest>

#include <functional>
#include <memory>

namespace {

// One persisted property of one control: its key, how to give a control another value than
// the default and what the control then shows of it.
struct Persisted
{
    QString key;
    std::function<std::unique_ptr<QWidget>()> make;
    std::function<void(QWidget &, const PropertyBag &)> read;
    std::function<void(const QWidget &, PropertyBag &)> write;
    std::function<void(QWidget &)> change;
    std::function<QVariant(const QWidget &)> value;
    QVariant defaultValue;
    QVariant changedValue;
};

// A control of that kind with no property of its own yet.
template <typename Control>
Persisted control()
{
    Persisted kind;
    kind.make = [] { return std::make_unique<Control>(); };
    kind.read = [](QWidget &w, const PropertyBag &bag) { static_cast<Control &>(w).readProperties(bag); };
    kind.write = [](const QWidget &w, PropertyBag &bag) { static_cast<const Control &>(w).writeProperties(bag); };
    return kind;
}

template <typename Control>
Persisted persisted(const char *key, std::function<void(Control &)> change,
    std::function<QVariant(const Control &)> value, const QVariant &defaultValue, const QVariant &changedValue)
{
    Persisted property = control<Control>();
    property.key = QString::fromLatin1(key);
    property.change = [change](QWidget &w) { change(static_cast<Control &>(w)); };
    property.value = [value](const QWidget &w) { return value(static_cast<const Control &>(w)); };
    property.defaultValue = defaultValue;
    property.changedValue = changedValue;
    return property;
}

template <typename Control>
void row(const char *control, const char *key, std::function<void(Control &)> change,
    std::function<QVariant(const Control &)> value, const QVariant &defaultValue, const QVariant &changedValue)
{
    QTest::addRow("%s %s", control, key) << persisted<Control>(key, change, value, defaultValue, changedValue);
}

QString faceAndSize(const QFont &font)
{
    return font.family() + QLatin1Char(' ') + QString::number(font.pointSize());
}

} // namespace

Q_DECLARE_METATYPE(Persisted)

class TestPersistedProperties : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A control read from an empty form stores nothing again: what it reads as the default
    // is what it leaves out when writing.
    void defaultsAreLeftOut_data()
    {
        QTest::addColumn<Persisted>("control");
        const auto add = [](const char *name, Persisted control) { QTest::newRow(name) << control; };
        add("text box", control<TextBox>());
        add("status bar", control<StatusBar>());
        add("tab control", control<TabControl>());
        add("progress bar", control<ProgressBar>());
        add("toolbar host", control<ToolbarHost>());
    }
    void defaultsAreLeftOut()
    {
        QFETCH(Persisted, control);
        const auto widget = control.make();
        control.read(*widget, PropertyBag());
        PropertyBag bag;
        control.write(*widget, bag);
        QCOMPARE(bag.count(), 0);
    }

    // Each property reads its default from an empty form; a changed value is stored under its
    // own key alone and comes back in a new control; the default written over it removes it.
    void eachPropertyTravelsUnderItsKey_data()
    {
        QTest::addColumn<Persisted>("property");
        const QFont appFont = QApplication::font();

        row<TextBox>("text box", "Alignment", [](TextBox &b) { b.setAlignment(TextBox::AlignCenter); },
            [](const TextBox &b) { return b.alignment(); }, 0, 2);
        row<TextBox>("text box", "Appearance", [](TextBox &b) { b.setAppearance(TextBox::StaticEdge); },
            [](const TextBox &b) { return b.appearance(); }, 0, 2);
        row<TextBox>("text box", "AutoHighLight", [](TextBox &b) { b.setAutoHighLight(true); },
            [](const TextBox &b) { return b.autoHighLight(); }, false, true);
        row<TextBox>("text box", "AutoScrollH", [](TextBox &b) { b.setAutoScrollH(false); },
            [](const TextBox &b) { return b.autoScrollH(); }, true, false);
        row<TextBox>("text box", "AutoScrollV", [](TextBox &b) { b.setAutoScrollV(false); },
            [](const TextBox &b) { return b.autoScrollV(); }, true, false);
        row<TextBox>("text box", "BackColor", [](TextBox &b) { b.setBackColor(0x00FFEEDDu); },
            [](const TextBox &b) { return b.backColor(); }, 0x80000005u, 0x00FFEEDDu);
        row<TextBox>("text box", "BorderStyle", [](TextBox &b) { b.setBorderStyle(1); },
            [](const TextBox &b) { return b.borderStyle(); }, 0, 1);
        row<TextBox>("text box", "DisableContextMenu", [](TextBox &b) { b.setDisableContextMenu(true); },
            [](const TextBox &b) { return b.disableContextMenu(); }, false, true);
        row<TextBox>("text box", "DisableColumnChangeEvent",
            [](TextBox &b) { b.setDisableColumnChangeEvent(true); },
            [](const TextBox &b) { return b.disableColumnChangeEvent(); }, false, true);
        row<TextBox>("text box", "DisabledForeColor", [](TextBox &b) { b.setDisabledForeColor(0x00112233u); },
            [](const TextBox &b) { return b.disabledForeColor(); }, 0x80000011u, 0x00112233u);
        row<TextBox>("text box", "Enabled", [](TextBox &b) { b.setEnabled(false); },
            [](const TextBox &b) { return b.isEnabled(); }, true, false);
        row<TextBox>("text box", "Font", [](TextBox &b) { b.setFont(QFont(QStringLiteral("Courier"), 13)); },
            [](const TextBox &b) { return b.font().pointSize(); }, appFont.pointSize(), 13);
        row<TextBox>("text box", "ForeColor", [](TextBox &b) { b.setForeColor(0x00000080u); },
            [](const TextBox &b) { return b.foreColor(); }, 0x80000008u, 0x00000080u);
        row<TextBox>("text box", "HideSelection", [](TextBox &b) { b.setHideSelection(false); },
            [](const TextBox &b) { return b.hideSelection(); }, true, false);
        row<TextBox>("text box", "IgnoreChangeEvent", [](TextBox &b) { b.setIgnoreChangeEvent(true); },
            [](const TextBox &b) { return b.ignoreChangeEvent(); }, false, true);
        row<TextBox>("text box", "Locked", [](TextBox &b) { b.setLocked(true); },
            [](const TextBox &b) { return b.isLocked() && b.hwnd()->isReadOnly(); }, false, true);
        row<TextBox>("text box", "LockedBackColor", [](TextBox &b) { b.setLockedBackColor(0x00C0C0C0u); },
            [](const TextBox &b) { return b.lockedBackColor(); }, 0x8000000Fu, 0x00C0C0C0u);
        row<TextBox>("text box", "LockedForeColor", [](TextBox &b) { b.setLockedForeColor(0x00404040u); },
            [](const TextBox &b) { return b.lockedForeColor(); }, 0x80000011u, 0x00404040u);
        row<TextBox>("text box", "MaxLength", [](TextBox &b) { b.setMaxLength(12); },
            [](const TextBox &b) { return b.maxLength(); }, 0, 12);
        row<TextBox>("text box", "MultiLine", [](TextBox &b) { b.setMultiLine(true); },
            [](const TextBox &b) { return b.multiLine(); }, false, true);
        row<TextBox>("text box", "PasswordChar", [](TextBox &b) { b.setPasswordChar(QStringLiteral("#")); },
            [](const TextBox &b) { return b.passwordChar(); }, QString(), QStringLiteral("#"));
        row<TextBox>("text box", "ScrollBars", [](TextBox &b) { b.setScrollBars(3); },
            [](const TextBox &b) { return b.scrollBars(); }, 0, 3);
        row<TextBox>("text box", "Text", [](TextBox &b) { b.setText(QStringLiteral("<META>")); },
            [](const TextBox &b) { return b.text(); }, QString(), QStringLiteral("<META>"));
        row<TextBox>("text box", "TrapTab", [](TextBox &b) { b.setTrapTabKey(true); },
            [](const TextBox &b) { return b.trapTabKey(); }, false, true);

        row<StatusBar>("status bar", "SizeGrip", [](StatusBar &b) { b.setSizeGrip(false); },
            [](const StatusBar &b) { return b.sizeGrip(); }, true, false);
        row<StatusBar>("status bar", "Font",
            [](StatusBar &b) { b.setFont(QFont(QStringLiteral("Courier"), 11)); },
            [](const StatusBar &b) { return faceAndSize(b.font()); }, QStringLiteral("MS Sans Serif 8"),
            QStringLiteral("Courier 11"));
        row<StatusBar>("status bar", "BackColor", [](StatusBar &b) { b.setBackColor(0x0000FF00u); },
            [](const StatusBar &b) { return b.backColor(); }, 0x8000000Fu, 0x0000FF00u);
        row<StatusBar>("status bar", "SimpleText", [](StatusBar &b) { b.setSimpleText(QStringLiteral("Ready")); },
            [](const StatusBar &b) { return b.simpleText(); }, QString(), QStringLiteral("Ready"));
        row<StatusBar>("status bar", "SimpleStyle", [](StatusBar &b) { b.setSimpleStyle(StatusBar::Raised); },
            [](const StatusBar &b) { return b.simpleStyle(); }, 256, 512);
        row<StatusBar>("status bar", "SimpleMode", [](StatusBar &b) { b.setSimpleMode(true); },
            [](const StatusBar &b) { return b.simpleMode(); }, false, true);

        row<TabControl>("tab control", "HotTrack", [](TabControl &t) { t.setHotTrack(true); },
            [](const TabControl &t) { return t.hotTrack(); }, false, true);
        row<TabControl>("tab control", "Buttons", [](TabControl &t) { t.setButtons(true); },
            [](const TabControl &t) { return t.buttons(); }, false, true);
        row<TabControl>("tab control", "MultiLine", [](TabControl &t) { t.setMultiLine(true); },
            [](const TabControl &t) { return t.multiLine(); }, false, true);
        row<TabControl>("tab control", "RightJustify", [](TabControl &t) { t.setRightJustify(true); },
            [](const TabControl &t) { return t.rightJustify(); }, false, true);
        row<TabControl>("tab control", "FlatSeparators", [](TabControl &t) { t.setFlatSeparators(true); },
            [](const TabControl &t) { return t.flatSeparators(); }, false, true);
        row<TabControl>("tab control", "FlatButtons", [](TabControl &t) { t.setFlatButtons(true); },
            [](const TabControl &t) { return t.flatButtons(); }, false, true);
        row<TabControl>("tab control", "TabAlign", [](TabControl &t) { t.setTabAlign(TabControl::AlignBottom); },
            [](const TabControl &t) { return int(t.tabCtrlHwnd()->shape()); }, int(QTabBar::RoundedNorth),
            int(QTabBar::RoundedSouth));
        row<TabControl>("tab control", "Font", [](TabControl &t) { t.setFont(QFont(QStringLiteral("Courier"))); },
            [](const TabControl &t) { return t.font().family(); }, QStringLiteral("MS Sans Serif"),
            QStringLiteral("Courier"));

        row<ProgressBar>("progress bar", "Smooth", [](ProgressBar &p) { p.setSmooth(true); },
            [](const ProgressBar &p) { return p.smooth(); }, false, true);
        row<ProgressBar>("progress bar", "Orientation", [](ProgressBar &p) { p.setOrientation(Qt::Vertical); },
            [](const ProgressBar &p) { return int(p.hwnd()->orientation()); }, int(Qt::Horizontal),
            int(Qt::Vertical));
        row<ProgressBar>("progress bar", "BorderStyle", [](ProgressBar &p) { p.setBorderStyle(2); },
            [](const ProgressBar &p) { return p.borderStyle(); }, 1, 2);
        row<ProgressBar>("progress bar", "ForeColor", [](ProgressBar &p) { p.setForeColor(0x000000FFu); },
            [](const ProgressBar &p) { return p.foreColor(); }, 0x8000000Du, 0x000000FFu);
        row<ProgressBar>("progress bar", "BackColor", [](ProgressBar &p) { p.setBackColor(0x00FFFFFFu); },
            [](const ProgressBar &p) { return p.backColor(); }, 0x8000000Fu, 0x00FFFFFFu);
        row<ProgressBar>("progress bar", "Min", [](ProgressBar &p) { p.setMin(-5); },
            [](const ProgressBar &p) { return p.hwnd()->minimum(); }, 0, -5);
        row<ProgressBar>("progress bar", "Max", [](ProgressBar &p) { p.setMax(1500); },
            [](const ProgressBar &p) { return p.hwnd()->maximum(); }, 100, 1500);
        row<ProgressBar>("progress bar", "Step", [](ProgressBar &p) { p.setStep(10); },
            [](const ProgressBar &p) { return p.step(); }, 1, 10);

        row<ToolbarHost>("toolbar host", "BackColor", [](ToolbarHost &h) { h.setBackColor(0x00808080u); },
            [](const ToolbarHost &h) { return h.backColor(); }, 0x8000000Fu, 0x00808080u);
        row<ToolbarHost>("toolbar host", "BorderStyle", [](ToolbarHost &h) { h.setBorderStyle(0); },
            [](const ToolbarHost &h) { return h.frameWidth(); }, 1, 0);
        row<ToolbarHost>("toolbar host", "MDIToolbar", [](ToolbarHost &h) { h.setMdiToolbar(true); },
            [](const ToolbarHost &h) { return h.mdiToolbar(); }, false, true);
    }
    void eachPropertyTravelsUnderItsKey()
    {
        QFETCH(Persisted, property);
        const auto fresh = property.make();
        property.read(*fresh, PropertyBag());
        QCOMPARE(property.value(*fresh), property.defaultValue);

        const auto changed = property.make();
        property.change(*changed);
        PropertyBag bag;
        property.write(*changed, bag);
        QVERIFY2(bag.contains(property.key), "stored under its own key");
        QCOMPARE(bag.count(), 1);

        const auto loaded = property.make();
        property.read(*loaded, bag);
        QCOMPARE(property.value(*loaded), property.changedValue);

        property.write(*fresh, bag);
        QCOMPARE(bag.count(), 0);
    }
};

QTEST_MAIN(TestPersistedProperties)
#include "test_persisted_properties.moc"

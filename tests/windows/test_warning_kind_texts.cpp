// The names the site window gives kinds of warnings: words a person reads, each kind its
// own, and each saying what its warnings are about.

#include "WarningKindTexts.h"

#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(WarningKind)

class TestWarningKindTexts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eachKindIsNamedByWhatItIsAbout_data()
    {
        QTest::addColumn<WarningKind>("kind");
        QTest::addColumn<QString>("about"); // words the name must hold, in any letter case
        QTest::newRow("charset conflict") << WarningKind::CharsetConflict << u"conflict"_s;
        QTest::newRow("charset dropped") << WarningKind::CharsetDropped << u"dropped"_s;
        QTest::newRow("unread tag form") << WarningKind::UnreadTagForm << u"not read"_s;
        QTest::newRow("outside the head") << WarningKind::OutsideHead << u"outside"_s;
        QTest::newRow("missing") << WarningKind::DescriptionMissing << u"missing"_s;
        QTest::newRow("placeholder") << WarningKind::DescriptionPlaceholder << u"placeholder"_s;
        QTest::newRow("too long") << WarningKind::DescriptionTooLong << u"too long"_s;
        QTest::newRow("too short") << WarningKind::DescriptionTooShort << u"too short"_s;
        QTest::newRow("same as the title") << WarningKind::DescriptionSameAsTitle << u"title"_s;
        QTest::newRow("repeated") << WarningKind::DescriptionRepeated << u"more than one"_s;
        QTest::newRow("shared") << WarningKind::DescriptionShared << u"other pages"_s;
    }
    void eachKindIsNamedByWhatItIsAbout()
    {
        QFETCH(WarningKind, kind);
        QFETCH(QString, about);
        const QString text = WarningKindTexts::text(kind);
        QVERIFY2(text.contains(about, Qt::CaseInsensitive), qPrintable(text));
        // Words, not the machine name tsmeta prints.
        QVERIFY2(!text.contains(QLatin1Char('-')), qPrintable(text));
        QVERIFY2(text.at(0).isUpper(), qPrintable(text));
    }

    void noTwoKindsShareAName()
    {
        QSet<QString> names;
        for (std::size_t i = 0; i < kWarningKindCount; ++i)
            names.insert(WarningKindTexts::text(static_cast<WarningKind>(i)));
        QCOMPARE(names.size(), qsizetype(kWarningKindCount));
    }
};

QTEST_GUILESS_MAIN(TestWarningKindTexts)
#include "test_warning_kind_texts.moc"

#include "platform/ClockRandom.h"
#include "platform/Conversions.h"

#include <QTest>
#include <limits>

// The conversions between tag texts and numbers, and the 16-bit counter.
class TestConversions : public QObject
{
    Q_OBJECT

private slots:
    void numbersBecomePlainDigits()
    {
        QCOMPARE(Str(7), QStringLiteral("7"));
        QCOMPARE(Str(16), QStringLiteral("16"));
        QCOMPARE(Str(0), QStringLiteral("0"));
        QCOMPARE(Str(32767), QStringLiteral("32767"));
        QCOMPARE(Str(-5), QStringLiteral("-5"));
    }

    void everyTagReadsBackAsItsNumberUnderAllThreeReadings()
    {
        for (int16_t n = 1; n <= 16; ++n) {
            const QString tag = Str(n);
            QCOMPARE(CDbl(tag), std::optional<double>(n));
            QCOMPARE(CInt(tag), std::optional<int16_t>(n));
            QCOMPARE(RoundToInt16(Val(tag)), std::optional<int16_t>(n));
        }
    }

    void strictReadingsRejectWhatIsNotANumber()
    {
        QVERIFY(!CDbl(QStringLiteral("")).has_value());
        QVERIFY(!CDbl(QStringLiteral("7a")).has_value());
        QVERIFY(!CDbl(QStringLiteral("blank")).has_value());
        QCOMPARE(CDbl(QStringLiteral(" 16 ")), std::optional<double>(16.0));
        QVERIFY(!CInt(QStringLiteral("32768")).has_value());
        QVERIFY(!CInt(QStringLiteral("-32769")).has_value());
        QCOMPARE(CInt(QStringLiteral("-32768")), std::optional<int16_t>(-32768));
        QCOMPARE(CInt(QStringLiteral("2.5")), std::optional<int16_t>(2)); // half to even
        QCOMPARE(CInt(QStringLiteral("3.5")), std::optional<int16_t>(4));
    }

    void leadingNumberReadsUpToTheFirstStrayCharacter_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("digits") << "12" << 12.0;
        QTest::newRow("leading blanks") << "   9" << 9.0;
        QTest::newRow("blanks inside") << "1 6" << 16.0;
        QTest::newRow("letters after") << "15abc" << 15.0;
        QTest::newRow("no number") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("sign") << "-4x" << -4.0;
        QTest::newRow("lone sign") << "-" << 0.0;
        QTest::newRow("fraction") << "2.75" << 2.75;
        QTest::newRow("second point stops") << "1.2.3" << 1.2;
        QTest::newRow("exponent") << "1e2" << 100.0;
        QTest::newRow("dangling exponent") << "7e" << 7.0;
    }

    void leadingNumberReadsUpToTheFirstStrayCharacter()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(Val(text), value);
    }

    void counterStopsAt32767InsteadOfWrapping()
    {
        int16_t counter = 32766;
        QVERIFY(IncrementChecked(counter));
        QCOMPARE(counter, int16_t(32767));
        QVERIFY(!IncrementChecked(counter));
        QCOMPARE(counter, int16_t(32767));
    }

    void randomValuesStayBelowOneAndSpreadEvenly()
    {
        ClockRandom random(1);
        std::array<int, 16> cells{};
        float largest = 0;
        for (int i = 0; i < 160000; ++i) {
            const float r = random.next();
            QVERIFY(r >= 0.0f && r < 1.0f);
            largest = std::max(largest, r);
            ++cells[static_cast<int>(r * 16.0)];
        }
        QVERIFY(largest > 0.999f);
        for (int count : cells)
            QVERIFY2(count > 9400 && count < 10600, qPrintable(QString::number(count)));
    }

    void dealsInTheSameInstantStillDrawDifferentSequences()
    {
        ClockRandom random;
        auto firstFour = [&random] {
            random.reseedFromClock();
            return std::array<float, 4>{random.next(), random.next(), random.next(), random.next()};
        };
        const auto first = firstFour();
        QVERIFY(first != firstFour());
    }
};

QTEST_GUILESS_MAIN(TestConversions)
#include "test_conversions.moc"

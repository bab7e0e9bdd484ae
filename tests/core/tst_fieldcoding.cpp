#include "image/fieldcoding.h"
#include "station/codelists.h"
#include "station/stationprofile.h"

#include <QtTest>

using FieldCoding::DcsMode;

namespace {
constexpr int None = -1; // no code: the text or byte names no entry

int orNone(const std::optional<std::uint8_t> &code)
{
    return code ? int(*code) : None;
}

DcsMode modeOf(const QString &setting)
{
    return setting == QLatin1String("+") ? DcsMode::PairPartner : DcsMode::ListPosition;
}
} // namespace

class TestFieldCoding : public QObject
{
    Q_OBJECT

private slots:
    void idCode_data();
    void idCode();
    void idTextReadsBackAsTheSameCode();
    void idText_data();
    void idText();

    void toneByte_data();
    void toneByte();

    void headerFields();

    void ctcssByte_data();
    void ctcssByte();
    void ctcssText_data();
    void ctcssText();

    void dcsByte_data();
    void dcsByte();
    void dcsText_data();
    void dcsText();
    void dcsPairsAreSymmetricAndComplete();
    void dcsRoundTripsInBothModes();

    void recordTexts();
};

void TestFieldCoding::idCode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");
    QTest::newRow("0001") << "0001" << 0x0001;
    QTest::newRow("12AB") << "12AB" << 0x12AB;
    QTest::newRow("star hash 0 0") << "*#00" << 0xFE00;
    QTest::newRow("lower case a-d") << "abcd" << 0xABCD;
    QTest::newRow("E as read back") << "00E1" << 0x00E1;
    QTest::newRow("e f lower case") << "0ef1" << 0x0EF1;
    QTest::newRow("hash star F") << "#*F9" << 0xEFF9;
    QTest::newRow("G is 0") << "00G1" << 0x0001;
    QTest::newRow("blank is 0") << "1 23" << 0x1023;
    QTest::newRow("Cyrillic А is 0") << QStringLiteral("00А1") << 0x0001;
    QTest::newRow("three characters") << "001" << None;
    QTest::newRow("five characters") << "00001" << None;
    QTest::newRow("empty") << "" << None;
}

void TestFieldCoding::idCode()
{
    QFETCH(QString, text);
    QFETCH(int, code);
    const auto result = FieldCoding::idCode(text);
    QCOMPARE(result ? int(*result) : None, code);
}

void TestFieldCoding::idTextReadsBackAsTheSameCode()
{
    // A station read and written back must keep its Id, digits 14 and 15 included.
    for (int code = 0; code <= 0xFFFF; ++code) {
        const QString text = FieldCoding::idText(std::uint16_t(code));
        const auto back = FieldCoding::idCode(text);
        if (!back || *back != code)
            QFAIL(qPrintable(QStringLiteral("%1 read as %2").arg(code, 4, 16).arg(text)));
    }
}

void TestFieldCoding::idText_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("0x0001") << 0x0001 << "0001";
    QTest::newRow("0x12AB") << 0x12AB << "12AB";
    QTest::newRow("0xFE00") << 0xFE00 << "FE00";
    QTest::newRow("0xCDEF") << 0xCDEF << "CDEF";
}

void TestFieldCoding::idText()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(FieldCoding::idText(std::uint16_t(code)), text);
}

void TestFieldCoding::toneByte_data()
{
    QTest::addColumn<int>("hz");
    QTest::addColumn<int>("byte");
    QTest::newRow("700") << 700 << 70;
    QTest::newRow("705 tie down to even") << 705 << 70;
    QTest::newRow("715 tie up to even") << 715 << 72;
    QTest::newRow("725 tie down") << 725 << 72;
    QTest::newRow("704") << 704 << 70;
    QTest::newRow("706") << 706 << 71;
    QTest::newRow("1750") << 1750 << 175;
    QTest::newRow("1989") << 1989 << 199;
    QTest::newRow("2545 tie down") << 2545 << 254;
    QTest::newRow("2550") << 2550 << 255;
}

void TestFieldCoding::toneByte()
{
    QFETCH(int, hz);
    QFETCH(int, byte);
    QCOMPARE(int(FieldCoding::toneByte(hz)), byte);
}

void TestFieldCoding::headerFields()
{
    const int brightness[] = {1, 6, 11, 16, 21};
    for (int level = 1; level <= 5; ++level)
        QCOMPARE(int(FieldCoding::brightnessByte(level)), brightness[level - 1]);

    QCOMPARE(FieldCoding::toneHz(FieldCoding::toneByte(1989)), 1990);
    QCOMPARE(FieldCoding::plusMinusText(0), QStringLiteral("-"));

    QString firsts, seconds;
    for (int d = 0; d <= 9; ++d) {
        if (FieldCoding::isFvFirstDigit(d))
            firsts += QString::number(d);
        if (FieldCoding::isFvSecondDigit(d))
            seconds += QString::number(d);
    }
    QCOMPARE(firsts, QStringLiteral("0124"));
    QCOMPARE(seconds, QStringLiteral("01245"));
    QCOMPARE(int(FieldCoding::fvCode(4, 2)), 0x42);
    QCOMPARE(FieldCoding::fvText(0x42), QStringLiteral("42"));
    QCOMPARE(FieldCoding::fvText(0x05), QStringLiteral("05"));
    QCOMPARE(FieldCoding::serialText(0x01, 0x23, 0xAB), QStringLiteral("0123AB"));
}

void TestFieldCoding::ctcssByte_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");
    QTest::newRow("67,0 first position") << "67,0" << 1;
    QTest::newRow("71,9") << "71,9" << 2;
    QTest::newRow("88,5 first position") << "88,5" << 5;
    QTest::newRow("250,3") << "250,3" << 33;
    QTest::newRow("74,4") << "74,4" << 36;
    QTest::newRow("69,4") << "69,4" << 44;
    QTest::newRow("159,8") << "159,8" << 45;
    QTest::newRow("254,1") << "254,1" << 55;
    QTest::newRow("Нет") << QStringLiteral("Нет") << 200;
    QTest::newRow("нет lower case") << QStringLiteral("нет") << None;
    QTest::newRow("point instead of comma") << "67.0" << None;
    QTest::newRow("DCS code") << "023" << None;
    QTest::newRow("empty") << "" << None;
}

void TestFieldCoding::ctcssByte()
{
    QFETCH(QString, text);
    QFETCH(int, code);
    QCOMPARE(orNone(FieldCoding::ctcssByte(text)), code);
}

void TestFieldCoding::ctcssText_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("text");
    QTest::newRow("1") << 1 << "67,0";
    QTest::newRow("34 twin of 1") << 34 << "67,0";
    QTest::newRow("35 twin of 2") << 35 << "71,9";
    QTest::newRow("37 twin of 3") << 37 << "77,0";
    QTest::newRow("39 twin of 4") << 39 << "82,5";
    QTest::newRow("41 twin of 5") << 41 << "88,5";
    QTest::newRow("44") << 44 << "69,4";
    QTest::newRow("55") << 55 << "254,1";
    QTest::newRow("200") << 200 << QStringLiteral("Нет");
    QTest::newRow("0") << 0 << QStringLiteral("Нет");
    QTest::newRow("56 beyond the list") << 56 << QString();
    QTest::newRow("199") << 199 << QString();
    QTest::newRow("255") << 255 << QString();
}

void TestFieldCoding::ctcssText()
{
    QFETCH(int, byte);
    QFETCH(QString, text);
    QCOMPARE(FieldCoding::ctcssText(std::uint8_t(byte)).value_or(QString()), text);
}

void TestFieldCoding::dcsByte_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");
    QTest::newRow("754 by position") << "-"
                                     << "754" << 84;
    QTest::newRow("754 by partner 116") << "+"
                                        << "754" << 18;
    QTest::newRow("023 by position") << "-"
                                     << "023" << 1;
    QTest::newRow("023 by partner 047") << "+"
                                        << "023" << 8;
    QTest::newRow("Нет -") << "-" << QStringLiteral("Нет") << 200;
    QTest::newRow("Нет +") << "+" << QStringLiteral("Нет") << 200;
    QTest::newRow("not a code +") << "+"
                                  << "024" << None;
    QTest::newRow("not a code -") << "-"
                                  << "67,0" << None;
    QTest::newRow("blank around") << "-"
                                  << " 023" << None;
}

void TestFieldCoding::dcsByte()
{
    QFETCH(QString, mode);
    QFETCH(QString, text);
    QFETCH(int, code);
    QCOMPARE(orNone(FieldCoding::dcsByte(text, modeOf(mode))), code);
}

void TestFieldCoding::dcsText_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("text");
    QTest::newRow("8 by partner") << "+" << 8 << "023";
    QTest::newRow("8 by position") << "-" << 8 << "047";
    QTest::newRow("84 by position") << "-" << 84 << "754";
    QTest::newRow("18 by partner") << "+" << 18 << "754";
    QTest::newRow("200 +") << "+" << 200 << QStringLiteral("Нет");
    QTest::newRow("200 -") << "-" << 200 << QStringLiteral("Нет");
    QTest::newRow("0 by position") << "-" << 0 << QStringLiteral("Нет");
    QTest::newRow("0 by partner") << "+" << 0 << QString();
    QTest::newRow("85 by position") << "-" << 85 << QString();
    QTest::newRow("85 by partner") << "+" << 85 << QString();
    QTest::newRow("255 by partner") << "+" << 255 << QString();
}

void TestFieldCoding::dcsText()
{
    QFETCH(QString, mode);
    QFETCH(int, byte);
    QFETCH(QString, text);
    QCOMPARE(FieldCoding::dcsText(std::uint8_t(byte), modeOf(mode)).value_or(QString()), text);
}

void TestFieldCoding::dcsPairsAreSymmetricAndComplete()
{
    QSet<int> partners;
    for (int k = 1; k <= 84; ++k) {
        const int p = CodeLists::dcsPartner(k);
        QVERIFY2(p >= 1 && p <= 84 && p != k, qPrintable(QString::number(k)));
        QCOMPARE(CodeLists::dcsPartner(p), k);
        partners.insert(p);
    }
    QCOMPARE(partners.size(), 84);
    QCOMPARE(CodeLists::dcsPartner(0), -1);
    QCOMPARE(CodeLists::dcsPartner(85), -1);
}

void TestFieldCoding::dcsRoundTripsInBothModes()
{
    const QStringList &codes = CodeLists::dcs();
    for (const DcsMode mode : {DcsMode::ListPosition, DcsMode::PairPartner}) {
        for (qsizetype k = 0; k < codes.size(); ++k) {
            const auto byte = FieldCoding::dcsByte(codes.at(k), mode);
            QVERIFY(byte);
            QCOMPARE(FieldCoding::dcsText(*byte, mode).value_or(QString()), codes.at(k));
        }
    }
    const QStringList &tones = CodeLists::ctcss();
    for (const QString &tone : tones)
        QCOMPARE(FieldCoding::ctcssText(*FieldCoding::ctcssByte(tone)).value_or(QString()), tone);
}

void TestFieldCoding::recordTexts()
{
    QCOMPARE(FieldCoding::toneNumberText(0), QStringLiteral("Нет"));
    QCOMPARE(FieldCoding::toneNumberText(1), QStringLiteral("1"));
    QCOMPARE(FieldCoding::toneNumberText(10), QStringLiteral("10"));
    QCOMPARE(FieldCoding::toneNumberText(11), QStringLiteral("Нет"));
    QCOMPARE(FieldCoding::timeText(0), QStringLiteral("Нет"));
    QCOMPARE(FieldCoding::timeText(200), QStringLiteral("200"));

    QCOMPARE(FieldCoding::txOffText(0xFF), QStringLiteral("Норм"));
    QCOMPARE(FieldCoding::txOffText(0xFE), QStringLiteral("RSSI"));
    QCOMPARE(FieldCoding::txOffText(0xFA), QStringLiteral("RSSI"));
    QCOMPARE(FieldCoding::txOffText(0xFB), QStringLiteral("OFF"));

    const StationProfile &vhf = StationProfiles::get(StationKind::Band144_174);
    using FrequencyWord::Side;
    QCOMPARE(FieldCoding::frequencyText({0x11, 0xD8, 0x81}, Side::Receive, vhf), QStringLiteral("144000,00"));
    QCOMPARE(FieldCoding::frequencyText({0x11, 0xD8, 0x85}, Side::Receive, vhf), QStringLiteral("144006,25"));
    QCOMPARE(FieldCoding::frequencyText({0x00, 0x12, 0x34}, Side::Receive, vhf), QStringLiteral("РЕТР_ПП"));
    QCOMPARE(FieldCoding::frequencyText({0x00, 0x00, 0x00}, Side::Transmit, vhf), QStringLiteral("РЕТР_ПР"));
}

QTEST_APPLESS_MAIN(TestFieldCoding)
#include "tst_fieldcoding.moc"

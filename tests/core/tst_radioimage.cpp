#include "image/radioimage.h"
#include "support/replyfixtures.h"

#include <QtTest>

using Slot = RadioImage::ReadSlot;
using Field = RadioImage::ReadSlot::Field;

Q_DECLARE_METATYPE(RadioImage::ReadSlot)
Q_DECLARE_METATYPE(SettingsText::Key)

namespace {
// An image whose every byte tells where it came from.
RadioImage markedImage(int channels)
{
    RadioImage image;
    for (int i = 0; i < 12; ++i)
        image.header[std::size_t(i)] = std::uint8_t(0x10 + i);
    image.at(StationLayout::Name::ChannelCount) = std::uint8_t(channels);
    for (int i = 0; i < 10; ++i)
        image.tones[std::size_t(i)] = std::uint8_t(0x70 + i);
    image.idCode = 0xFE00;
    for (int r = 0; r < RadioImage::MaxChannels; ++r)
        for (int b = 0; b < RadioImage::RecordSize; ++b)
            image.records[std::size_t(r)][std::size_t(b)] = std::uint8_t(r + b);
    return image;
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

QByteArray record(const RadioImage &image, int r)
{
    return QByteArray(reinterpret_cast<const char *>(image.records[std::size_t(r)].data()), RadioImage::RecordSize);
}
} // namespace

class TestRadioImage : public QObject
{
    Q_OBJECT

private slots:
    void writeOrder();
    void idGoesHighByteFirst_data();
    void idGoesHighByteFirst();
    void readSlot_data();
    void readSlot();
    void codesASetting_data();
    void codesASetting();
    void fillsAWholeReply();
    void fillsAReplyCutShort();
    void keepsRecordsBeyondTheReplysCount();
};

void TestRadioImage::writeOrder()
{
    const RadioImage image = markedImage(2);
    const QByteArray wire = image.writeOrder(5, 3);
    QCOMPARE(wire.size(), 25 + 18 * 2);
    const QByteArray prefix = bytes({0x13, 0x14, 0x02, 0x16, 0x17,                               // header 3..7
                                     0x70, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, // tones
                                     0xFE, 0x00,                                                 // Id
                                     0x18, 0x19, 0x1A, 0x1B,                                     // header 8..11
                                     5,    3,    3,    3});                                      // module, band ×3
    QCOMPARE(wire.left(25).toHex(' '), prefix.toHex(' '));
    QCOMPARE(wire.mid(25, 18), record(image, 0));
    QCOMPARE(wire.mid(43, 18), record(image, 1));

    QCOMPARE(markedImage(0).writeOrder(0, 0).size(), 25);
    QCOMPARE(markedImage(99).writeOrder(0, 0).size(), 25 + 18 * 99);
}

void TestRadioImage::idGoesHighByteFirst_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("0001") << 0x0001 << bytes({0x00, 0x01});
    QTest::newRow("star hash 0 0") << 0xFE00 << bytes({0xFE, 0x00});
}

void TestRadioImage::idGoesHighByteFirst()
{
    QFETCH(int, id);
    QFETCH(QByteArray, wire);
    RadioImage image;
    image.idCode = std::uint16_t(id);
    QCOMPARE(image.writePrefix(0, 0).mid(15, 2), wire);
}

void TestRadioImage::readSlot_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<bool>("inside");
    QTest::addColumn<Slot>("slot");
    QTest::newRow("serial 0") << 0 << true << Slot{Field::Header, 0};
    QTest::newRow("serial 2") << 2 << true << Slot{Field::Header, 2};
    QTest::newRow("brightness") << 3 << true << Slot{Field::Header, 3};
    QTest::newRow("special channel") << 7 << true << Slot{Field::Header, 7};
    QTest::newRow("Id high") << 8 << true << Slot{Field::IdHigh};
    QTest::newRow("Id low") << 9 << true << Slot{Field::IdLow};
    QTest::newRow("tone 1") << 10 << true << Slot{Field::Tone, 0};
    QTest::newRow("tone 10") << 19 << true << Slot{Field::Tone, 9};
    QTest::newRow("FV code") << 20 << true << Slot{Field::Header, 8};
    QTest::newRow("option flags") << 23 << true << Slot{Field::Header, 11};
    QTest::newRow("module") << 24 << true << Slot{Field::Module};
    QTest::newRow("band") << 25 << true << Slot{Field::Band};
    QTest::newRow("ignored 1") << 26 << true << Slot{Field::Ignored, 0};
    QTest::newRow("ignored 2") << 27 << true << Slot{Field::Ignored, 1};
    QTest::newRow("record 0 byte 0") << 28 << true << Slot{Field::Record, 0, 0};
    QTest::newRow("record 0 byte 17") << 45 << true << Slot{Field::Record, 0, 17};
    QTest::newRow("record 1 byte 0") << 46 << true << Slot{Field::Record, 1, 0};
    QTest::newRow("record 98 byte 17") << 28 + 18 * 99 - 1 << true << Slot{Field::Record, 98, 17};
    QTest::newRow("beyond 99 records") << 28 + 18 * 99 << false << Slot{};
    QTest::newRow("negative") << -1 << false << Slot{};
}

void TestRadioImage::readSlot()
{
    QFETCH(int, offset);
    QFETCH(bool, inside);
    QFETCH(Slot, slot);
    const auto found = RadioImage::readSlot(offset);
    QCOMPARE(found.has_value(), inside);
    if (inside)
        QVERIFY(*found == slot);
}

void TestRadioImage::codesASetting_data()
{
    using Key = SettingsText::Key;
    QTest::addColumn<Key>("key");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("before"); // the field's byte before
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("shown");
    QTest::newRow("brightness 3") << Key::Brightness << 3 << 0 << 11 << "3";
    QTest::newRow("volume 16") << Key::Volume << 16 << 0 << 16 << "16";
    QTest::newRow("key beep +") << Key::KeyBeep << 1 << 0 << 200 << "+";
    QTest::newRow("DCS numbering -") << Key::DcsMode << 0 << 200 << 100 << "-";
    QTest::newRow("FV 42") << Key::Fv << 42 << 0 << 0x42 << "42";
    QTest::newRow("tone 3 rounds") << Key::Tone3 << 705 << 0 << 70 << "700";
    QTest::newRow("scan flag + keeps ВУ") << Key::ScanOption << 1 << 0x10 << 0x12 << "+";
    QTest::newRow("ВУ - keeps the others") << Key::Vu << 0 << 0x16 << 0x06 << "-";
    QTest::newRow("V flag of other bits") << Key::VOption << 0 << 0xFB << 0xFB << "-";
}

void TestRadioImage::codesASetting()
{
    using Key = SettingsText::Key;
    QFETCH(Key, key);
    QFETCH(int, value);
    QFETCH(int, before);
    QFETCH(int, byte);
    QFETCH(QString, shown);
    const StationLayout::SettingCoding &coding = *StationLayout::codingOf(key);
    const StationLayout::Field &field = StationLayout::field(coding.field);
    RadioImage image = markedImage(1);
    const auto at = [&] { return int(image.writePrefix(0, 0).at(StationLayout::writeAt(field.name) + coding.byte)); };
    if (field.store == StationLayout::Store::Header)
        image.at(coding.field) = std::uint8_t(before);
    else
        image.tones[std::size_t(coding.byte)] = std::uint8_t(before);
    image.setSetting(key, value);
    QCOMPARE(at() & 0xFF, byte);
    QCOMPARE(image.settingText(key), shown);
}

void TestRadioImage::fillsAWholeReply()
{
    const QByteArray head = bytes({0x01, 0x23, 0xAB,                                     // serial
                                   21,   16,   2,    200,  1,                            // header 3..7
                                   0x12, 0xAB,                                           // Id
                                   70,   75,   100,  120,  140, 155, 170, 199, 210, 255, // tones
                                   0x42, 8,    100,  0x16,                               // header 8..11
                                   4,    3,    0xEE, 0xEE});                             // module, band, ignored
    const QByteArray first = ReplyFixtures::kRow1;
    const QByteArray second = ReplyFixtures::kRow2;

    RadioImage image;
    image.idCode = 0x0001;
    const auto extras = image.fillFromReadOrder(head + first + second);

    const std::array<std::uint8_t, 12> header{0x01, 0x23, 0xAB, 21, 16, 2, 200, 1, 0x42, 8, 100, 0x16};
    QCOMPARE(image.header, header);
    const std::array<std::uint8_t, 10> tones{70, 75, 100, 120, 140, 155, 170, 199, 210, 255};
    QCOMPARE(image.tones, tones);
    QCOMPARE(record(image, 0), first);
    QCOMPARE(record(image, 1), second);
    QCOMPARE(image.idCode, std::uint16_t(0x0001)); // the image keeps the Id of the last check
    QCOMPARE(extras.idCode, std::optional<std::uint16_t>(0x12AB));
    QCOMPARE(extras.moduleCode, std::optional<std::uint8_t>(4));
    QCOMPARE(extras.bandCode, std::optional<std::uint8_t>(3));
}

void TestRadioImage::fillsAReplyCutShort()
{
    RadioImage image = markedImage(3);
    const auto extras = image.fillFromReadOrder(bytes({0, 0, 0, 1, 2, 3, 4, 5, 0xAA}));
    QCOMPARE(image.at(StationLayout::Name::ChannelCount), std::uint8_t(3));
    QCOMPARE(image.at(StationLayout::Name::SpecialChannel), std::uint8_t(5));
    QCOMPARE(image.at(StationLayout::Name::Fv), std::uint8_t(0x18)); // not reached, unchanged
    QVERIFY(!extras.idCode);                                         // only the high byte came
    QVERIFY(!extras.moduleCode);
    QVERIFY(!extras.bandCode);
}

void TestRadioImage::keepsRecordsBeyondTheReplysCount()
{
    RadioImage image = markedImage(5);
    QByteArray reply(28, '\0');
    reply[5] = 1; // one channel
    reply += QByteArray(18 * 2, '\x7F');
    image.fillFromReadOrder(reply);
    QCOMPARE(record(image, 0), QByteArray(18, '\x7F'));
    QCOMPARE(record(image, 1), record(markedImage(5), 1));
}

QTEST_APPLESS_MAIN(TestRadioImage)
#include "tst_radioimage.moc"

#include "files/profile.h"

#include <QRandomGenerator>
#include <QtTest>

using MaybeText = std::optional<QString>;
Q_DECLARE_METATYPE(MaybeText)
using MaybeInt = std::optional<int>;
Q_DECLARE_METATYPE(MaybeInt)
Q_DECLARE_METATYPE(Profile::IntSyntax)

class TestProfile : public QObject
{
    Q_OBJECT

private slots:
    void lookup_data();
    void lookup();
    void valuesReadsSeveralKeysInOnePass();
    void hasKeys_data();
    void hasKeys();
    void lineEnds_data();
    void lineEnds();
    void setValue_data();
    void setValue();
    void editsKeepTheIndexInStep();
    void integer_data();
    void integer();
};

void TestProfile::lookup_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<MaybeText>("expected");

    QTest::newRow("cyrillic names ignore case") << "[Общие Установки]\nТИП=3"
                                                << "общие установки"
                                                << "тип" << MaybeText("3");
    QTest::newRow("latin names ignore case") << "[ALL]\nport=3"
                                             << "all"
                                             << "PORT" << MaybeText("3");
    QTest::newRow("value after the first equals sign, trimmed") << "[s]\n  key  =  a = b  "
                                                                << "s"
                                                                << "KEY" << MaybeText("a = b");
    QTest::newRow("empty value is present") << "[s]\nk="
                                            << "s"
                                            << "k" << MaybeText("");
    QTest::newRow("first key wins") << "[s]\nk=1\nk=2"
                                    << "s"
                                    << "k" << MaybeText("1");
    QTest::newRow("first section wins") << "[s]\nk=1\n[S]\nk=2"
                                        << "s"
                                        << "k" << MaybeText("1");
    QTest::newRow("repeated section is not read") << "[s]\nk=1\n[s]\nj=2"
                                                  << "s"
                                                  << "j" << MaybeText();
    QTest::newRow("key before any section") << "k=1\n[s]"
                                            << "s"
                                            << "k" << MaybeText();
    QTest::newRow("key of the next section") << "[a]\n[b]\nk=1"
                                             << "a"
                                             << "k" << MaybeText();
    QTest::newRow("line without equals sign") << "[s]\nk"
                                              << "s"
                                              << "k" << MaybeText();
    QTest::newRow("blanks around the header") << "  [ s ]  \nk=1"
                                              << "s"
                                              << "k" << MaybeText("1");
    QTest::newRow("key that only starts alike") << "[s]\nТипВУ=2"
                                                << "s"
                                                << "Тип" << MaybeText();
    QTest::newRow("missing section") << "[s]\nk=1"
                                     << "t"
                                     << "k" << MaybeText();
}

void TestProfile::lookup()
{
    QFETCH(QString, text);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(MaybeText, expected);
    const Profile profile = Profile::fromText(text);
    QCOMPARE(profile.value(section, key), expected);
    QCOMPARE(profile.values(section, {key}).front(), expected);
    QCOMPARE(profile.string(section, key, QStringLiteral("default")), expected.value_or(QStringLiteral("default")));
}

void TestProfile::valuesReadsSeveralKeysInOnePass()
{
    const Profile profile = Profile::fromText(QStringLiteral("[s]\nтипву=2\nТИП=3\nТип=4\n[t]\nx=1"));
    const auto values =
        profile.values(QStringLiteral("S"), {QStringLiteral("ТипВУ"), QStringLiteral("Тип"), QStringLiteral("x")});
    QCOMPARE(values, (std::vector<MaybeText>{QStringLiteral("2"), QStringLiteral("3"), std::nullopt}));
}

void TestProfile::hasKeys_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");

    QTest::newRow("a key") << "[1]\nRx=1" << true;
    QTest::newRow("an empty value") << "[1]\nRx=" << true;
    QTest::newRow("only blank lines") << "[1]\n\n  \n[2]\nk=1" << false;
    QTest::newRow("a line without equals sign") << "[1]\ngarbage" << false;
    QTest::newRow("an empty key name") << "[1]\n=x" << false;
    QTest::newRow("no such section") << "[2]\nk=1" << false;
}

void TestProfile::hasKeys()
{
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QCOMPARE(Profile::fromText(text).hasKeys(QStringLiteral("1")), expected);
}

void TestProfile::lineEnds_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("CR LF") << "a\r\nb\r\n" << QStringList{"a", "b"};
    QTest::newRow("mixed") << "a\nb\rc\r\nd" << QStringList{"a", "b", "c", "d"};
    QTest::newRow("blank lines kept") << "a\r\n\r\n\r\nb" << QStringList{"a", "", "", "b"};
    QTest::newRow("empty") << "" << QStringList{};
}

void TestProfile::lineEnds()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    const Profile profile = Profile::fromText(text);
    QCOMPARE(profile.lines(), lines);
    QCOMPARE(profile.toText(),
             lines.isEmpty() ? QString() : lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    QCOMPARE(Profile(lines).toText(), profile.toText());
}

void TestProfile::setValue_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("replaced in place") << QStringList{"[s]", "a=1", "Тип=7", "b=2"} << "s"
                                       << "Тип" << QStringList{"[s]", "a=1", "Тип=v", "b=2"};
    QTest::newRow("replaced key keeps its spelling") << QStringList{"[S]", "  тип = 7  "} << "s"
                                                     << "Тип" << QStringList{"[S]", "тип=v"};
    QTest::newRow("behind the last line of the section") << QStringList{"[s]", "a=1", "", "[t]", "x=1"} << "s"
                                                         << "b" << QStringList{"[s]", "a=1", "b=v", "", "[t]", "x=1"};
    QTest::newRow("behind a line without equals sign") << QStringList{"[s]", "a=1", "note"} << "s"
                                                       << "b" << QStringList{"[s]", "a=1", "note", "b=v"};
    QTest::newRow("into the first of repeated sections") << QStringList{"[s]", "a=1", "[s]", "b=2"} << "s"
                                                         << "b" << QStringList{"[s]", "a=1", "b=v", "[s]", "b=2"};
    QTest::newRow("new section at the end") << QStringList{"x=1"} << "s"
                                            << "k" << QStringList{"x=1", "", "[s]", "k=v"};
    QTest::newRow("new section behind a blank line") << QStringList{"[a]", "x=1", ""} << "s"
                                                     << "k" << QStringList{"[a]", "x=1", "", "[s]", "k=v"};
    QTest::newRow("new section in an empty document") << QStringList{} << "s"
                                                      << "k" << QStringList{"[s]", "k=v"};
}

void TestProfile::setValue()
{
    QFETCH(QStringList, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QStringList, after);
    Profile profile(before);
    profile.setValue(section, key, QStringLiteral("v"));
    QCOMPARE(profile.lines(), after);
    QCOMPARE(profile.value(section, key), MaybeText(QStringLiteral("v")));
}

// The index is moved along with every edit instead of being rebuilt; after
// each of many random edits it must answer as a fresh reading of the text.
void TestProfile::editsKeepTheIndexInStep()
{
    const QStringList sections{"a", "B", "c", "1", "2"};
    const QStringList keys{"x", "Y", "zz", "Тип"};
    Profile profile(QStringList{"lead=0", "[a]", "x=1", "", "[b]", "note", "[a]", "x=9", "[c]", "zz=3", ""});
    QRandomGenerator random(20240611);
    for (int step = 0; step < 400; ++step) {
        const QString section = sections.at(random.bounded(sections.size()));
        const QString key = keys.at(random.bounded(keys.size()));
        profile.setValue(section, key, QString(random.bounded(6), u'v'));
        const Profile fresh = Profile::fromText(profile.toText());
        for (const QString &s : sections) {
            QCOMPARE(profile.hasKeys(s), fresh.hasKeys(s));
            QCOMPARE(profile.values(s, keys), fresh.values(s, keys));
        }
    }
    QCOMPARE(profile.lines().count(QStringLiteral("x=9")), 1); // the repeated section was never written to
}

void TestProfile::integer_data()
{
    using S = Profile::IntSyntax;
    QTest::addColumn<QString>("text");
    QTest::addColumn<Profile::IntSyntax>("syntax");
    QTest::addColumn<MaybeInt>("expected");

    QTest::newRow("decimal") << "12" << S::Decimal << MaybeInt(12);
    QTest::newRow("signs") << "-5" << S::DecimalOrHex << MaybeInt(-5);
    QTest::newRow("plus") << "+7" << S::Decimal << MaybeInt(7);
    QTest::newRow("largest") << "2147483647" << S::Decimal << MaybeInt(2147483647);
    QTest::newRow("smallest") << "-2147483648" << S::Decimal << MaybeInt(-2147483647 - 1);
    QTest::newRow("too large") << "2147483648" << S::Decimal << MaybeInt();
    QTest::newRow("leading zeros") << "00000000000000000000012" << S::Decimal << MaybeInt(12);
    QTest::newRow("many digits") << "99999999999999999999999" << S::Decimal << MaybeInt();
    QTest::newRow("empty") << "" << S::DecimalOrHex << MaybeInt();
    QTest::newRow("sign only") << "-" << S::Decimal << MaybeInt();
    QTest::newRow("inner blank") << "1 2" << S::Decimal << MaybeInt();
    QTest::newRow("leading blank") << " 12" << S::Decimal << MaybeInt();
    QTest::newRow("other digits") << "١٢" << S::Decimal << MaybeInt();
    QTest::newRow("0x") << "0x1F" << S::DecimalOrHex << MaybeInt(31);
    QTest::newRow("0X") << "0X1f" << S::DecimalOrHex << MaybeInt(31);
    QTest::newRow("dollar") << "$ff" << S::DecimalOrHex << MaybeInt(255);
    QTest::newRow("32-bit pattern") << "$FFFFFFFF" << S::DecimalOrHex << MaybeInt(-1);
    QTest::newRow("beyond 32 bits") << "0x100000000" << S::DecimalOrHex << MaybeInt();
    QTest::newRow("prefix alone") << "$" << S::DecimalOrHex << MaybeInt();
    QTest::newRow("double prefix") << "$0x10" << S::DecimalOrHex << MaybeInt();
    QTest::newRow("signed hex") << "0x-1" << S::DecimalOrHex << MaybeInt();
    QTest::newRow("blank after prefix") << "0x 1" << S::DecimalOrHex << MaybeInt();
    QTest::newRow("hex without prefix") << "1F" << S::DecimalOrHex << MaybeInt();
    QTest::newRow("hex in decimal syntax") << "0x1F" << S::Decimal << MaybeInt();
}

void TestProfile::integer()
{
    QFETCH(QString, text);
    QFETCH(Profile::IntSyntax, syntax);
    QFETCH(MaybeInt, expected);
    QCOMPARE(Profile::parseInteger(text, syntax), expected);
    const Profile profile(QStringList{"[s]", "k=" + text});
    // The profile hands over the value without its blanks; a bad one reads as the default.
    QCOMPARE(profile.integer(QStringLiteral("s"), QStringLiteral("k"), 77, syntax),
             Profile::parseInteger(text.trimmed(), syntax).value_or(77));
}

QTEST_APPLESS_MAIN(TestProfile)
#include "tst_profile.moc"

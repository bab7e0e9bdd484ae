#include "station/codelists.h"

#include <array>

namespace CodeLists {

const QStringList &ctcss()
{
    static const QStringList list =
        QStringLiteral("Нет|67,0|71,9|77,0|82,5|88,5|94,8|100,0|103,5|107,2|110,9|114,8|118,8|123,0|127,3|131,8|"
                       "136,5|141,3|146,2|151,4|156,7|162,2|167,9|173,8|179,9|186,2|192,8|203,5|210,7|218,1|225,7|"
                       "233,6|241,8|250,3|67,0|71,9|74,4|77,0|79,9|82,5|85,4|88,5|91,5|97,4|69,4|159,8|165,5|171,3|"
                       "177,3|183,5|189,9|196,6|199,5|206,5|229,1|254,1")
            .split(u'|');
    return list;
}

const QStringList &dcs()
{
    static const QStringList list =
        QStringLiteral("Нет|023|025|026|031|032|036|043|047|051|054|065|071|072|073|074|114|115|116|125|131|132|"
                       "134|143|152|155|156|162|165|172|174|205|223|226|243|244|245|251|261|263|265|271|306|311|"
                       "315|331|343|346|351|364|365|371|411|412|413|423|431|432|445|464|465|466|503|506|516|532|"
                       "546|565|606|612|624|627|631|632|654|662|664|703|712|723|731|732|734|743|754")
            .split(u'|');
    return list;
}

int ctcssIndex(const QString &text)
{
    return static_cast<int>(ctcss().indexOf(text));
}

int dcsIndex(const QString &text)
{
    return static_cast<int>(dcs().indexOf(text));
}

int dcsPartner(int position)
{
    static const std::array<int, 85> partners = [] {
        static const char *const pairs[42][2] = {
            {"023", "047"}, {"025", "244"}, {"026", "464"}, {"031", "627"}, {"032", "051"}, {"036", "172"},
            {"043", "445"}, {"054", "413"}, {"065", "271"}, {"071", "306"}, {"072", "245"}, {"073", "506"},
            {"074", "174"}, {"114", "712"}, {"115", "152"}, {"116", "754"}, {"125", "365"}, {"131", "364"},
            {"132", "546"}, {"134", "223"}, {"143", "412"}, {"155", "731"}, {"156", "265"}, {"162", "503"},
            {"165", "251"}, {"205", "263"}, {"226", "411"}, {"243", "351"}, {"261", "732"}, {"311", "664"},
            {"315", "423"}, {"331", "465"}, {"343", "532"}, {"346", "612"}, {"371", "734"}, {"431", "723"},
            {"432", "516"}, {"466", "662"}, {"565", "703"}, {"606", "631"}, {"624", "632"}, {"654", "743"},
        };
        std::array<int, 85> table{};
        table.fill(-1);
        for (const auto &pair : pairs) {
            const int a = dcsIndex(QLatin1String(pair[0]));
            const int b = dcsIndex(QLatin1String(pair[1]));
            table[static_cast<std::size_t>(a)] = b;
            table[static_cast<std::size_t>(b)] = a;
        }
        return table;
    }();
    if (position < 1 || position > 84)
        return -1;
    return partners[static_cast<std::size_t>(position)];
}

} // namespace CodeLists

#include "station/stationprofile.h"

namespace StationProfiles {

const StationProfile &get(StationKind kind)
{
    static const StationProfile band30{
        StationKind::Band30_60, QStringLiteral("30-60 МГц"), QStringLiteral("Ветрал 4М-11"), 30000, 60000, 8, 10700, 1};
    static const StationProfile band144{StationKind::Band144_174,
                                        QStringLiteral("144-174 МГц"),
                                        QStringLiteral("Ветрал 4М-13"),
                                        140000,
                                        174000,
                                        32,
                                        45000,
                                        0};
    static const StationProfile band400{StationKind::Band400_486,
                                        QStringLiteral("400-486 Мгц"),
                                        QStringLiteral("Ветрал 4М-15"),
                                        400000,
                                        486000,
                                        32,
                                        -45000,
                                        3};
    switch (kind) {
    case StationKind::Band30_60:
        return band30;
    case StationKind::Band400_486:
        return band400;
    case StationKind::Band144_174:
        break;
    }
    return band144;
}

const std::array<StationKind, 3> &all()
{
    static const std::array<StationKind, 3> kinds{StationKind::Band30_60, StationKind::Band144_174,
                                                  StationKind::Band400_486};
    return kinds;
}

std::optional<StationKind> forBandCode(int bandCode)
{
    switch (bandCode) {
    case 0:
        return StationKind::Band144_174;
    case 1:
    case 2:
        return StationKind::Band30_60;
    case 3:
        return StationKind::Band400_486;
    default:
        return std::nullopt;
    }
}

QString disabledMenuCaption()
{
    return QStringLiteral("300-345 МГц");
}

} // namespace StationProfiles

namespace Modules {
const std::array<QString, Count> &captions()
{
    static const std::array<QString, Count> list{
        QStringLiteral("Нет модуля"),
        QStringLiteral("Маскиратор 06ЛМ200-03Д"),
        QStringLiteral("Модуль Смартранк"),
        QStringLiteral("Маскиратор Тирель"),
        QStringLiteral("Маскиратор типа \"Занавес\""),
        QStringLiteral("Маскиратор 06ЛМ016Д"),
    };
    return list;
}
} // namespace Modules

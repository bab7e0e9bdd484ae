#include "common/numbers.h"
#include "common/excerpt.h"
#include "common/platformerror.h"

#include <QLocale>
#include <cmath>

namespace Numbers {

namespace {
const QLocale &cLocale()
{
    static const QLocale c = QLocale::c();
    return c;
}

QString invalid(const QString &text, const char *what)
{
    return QStringLiteral("'%1' is not a valid %2 value").arg(Excerpt::of(text), QLatin1String(what));
}
} // namespace

int toInt(const QString &text)
{
    // Blanks around the digits are allowed, as the runtime's conversion allows them.
    const QString t = text.trimmed();
    bool ok = false;
    int value = 0;
    if (!t.isEmpty() && !t.startsWith(u'+'))
        value = cLocale().toInt(t, &ok);
    if (!ok) {
        // hexadecimal with "$" or "0x" is what the runtime accepts too
        if (t.startsWith(u'$'))
            value = t.mid(1).toInt(&ok, 16);
        else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
            value = t.mid(2).toInt(&ok, 16);
    }
    if (!ok)
        throw PlatformError(invalid(text, "integer"));
    return value;
}

double toDecimal(const QString &text)
{
    QString t = text.trimmed();
    bool ok = false;
    double value = 0.0;
    if (!t.isEmpty() && !t.contains(u'.') && t.count(u',') <= 1) {
        t.replace(u',', u'.');
        value = cLocale().toDouble(t, &ok);
        if (ok && !std::isfinite(value))
            ok = false;
    }
    if (!ok)
        throw PlatformError(invalid(text, "floating point"));
    return value;
}

QString formatShortest(double value)
{
    QString text = QString::number(value, 'f', 6);
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    text.replace(u'.', u',');
    return text;
}

QString formatTwoDecimals(double value)
{
    QString text = QString::asprintf("%6.2f", value);
    text.replace(u'.', u',');
    return text;
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

long long roundHalfEven(double value)
{
    return static_cast<long long>(std::nearbyint(value)); // default rounding mode is to nearest, ties to even
}

} // namespace Numbers

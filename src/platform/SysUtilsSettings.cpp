// The format settings: fixed sets for tests and the mapping of a Qt locale to the classic ones.

#include "platform/SysUtils.h"

#include <QLocale>

namespace {

const char *const EnglishShortMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char *const EnglishLongMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                           "July",    "August",   "September", "October", "November", "December"};
const char *const EnglishShortDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char *const EnglishLongDays[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

const char16_t *const GermanShortMonths[12] = {u"Jan", u"Feb", u"Mär", u"Apr", u"Mai", u"Jun",
                                               u"Jul", u"Aug", u"Sep", u"Okt", u"Nov", u"Dez"};
const char16_t *const GermanLongMonths[12] = {u"Januar", u"Februar", u"März",      u"April",   u"Mai",      u"Juni",
                                              u"Juli",   u"August",  u"September", u"Oktober", u"November", u"Dezember"};
const char *const GermanShortDays[7] = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
const char *const GermanLongDays[7] = {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"};

void SetEnglishNames(TFormatSettings &FS)
{
    for (int i = 1; i <= 12; ++i) {
        FS.ShortMonthNames[i] = QString::fromLatin1(EnglishShortMonths[i - 1]);
        FS.LongMonthNames[i] = QString::fromLatin1(EnglishLongMonths[i - 1]);
    }
    for (int i = 1; i <= 7; ++i) {
        FS.ShortDayNames[i] = QString::fromLatin1(EnglishShortDays[i - 1]);
        FS.LongDayNames[i] = QString::fromLatin1(EnglishLongDays[i - 1]);
    }
}

TFormatSettings EnglishUS()
{
    TFormatSettings fs;
    fs.DecimalSeparator = QLatin1Char('.');
    fs.ThousandSeparator = QLatin1Char(',');
    fs.DateSeparator = QLatin1Char('/');
    fs.TimeSeparator = QLatin1Char(':');
    fs.ListSeparator = QLatin1Char(',');
    fs.ShortDateFormat = QStringLiteral("M/d/yyyy");
    fs.LongDateFormat = QStringLiteral("dddd, mmmm d, yyyy");
    fs.ShortTimeFormat = QStringLiteral("h:nn AMPM");
    fs.LongTimeFormat = QStringLiteral("h:nn:ss AMPM");
    fs.CurrencyString = QStringLiteral("$");
    fs.CurrencyFormat = 0;
    fs.NegCurrFormat = 0;
    fs.CurrencyDecimals = 2;
    fs.TimeAMString = QStringLiteral("AM");
    fs.TimePMString = QStringLiteral("PM");
    SetEnglishNames(fs);
    return fs;
}

TFormatSettings GermanDE()
{
    TFormatSettings fs;
    fs.DecimalSeparator = QLatin1Char(',');
    fs.ThousandSeparator = QLatin1Char('.');
    fs.DateSeparator = QLatin1Char('.');
    fs.TimeSeparator = QLatin1Char(':');
    fs.ListSeparator = QLatin1Char(';');
    fs.ShortDateFormat = QStringLiteral("dd.mm.yyyy");
    fs.LongDateFormat = QStringLiteral("dddd, d. mmmm yyyy");
    fs.ShortTimeFormat = QStringLiteral("hh:nn");
    fs.LongTimeFormat = QStringLiteral("hh:nn:ss");
    fs.CurrencyString = QStringLiteral("\u20AC");
    fs.CurrencyFormat = 3;
    fs.NegCurrFormat = 8;
    fs.CurrencyDecimals = 2;
    fs.TimeAMString = QString();
    fs.TimePMString = QString();
    for (int i = 1; i <= 12; ++i) {
        fs.ShortMonthNames[i] = QString::fromUtf16(GermanShortMonths[i - 1]);
        fs.LongMonthNames[i] = QString::fromUtf16(GermanLongMonths[i - 1]);
    }
    for (int i = 1; i <= 7; ++i) {
        fs.ShortDayNames[i] = QString::fromLatin1(GermanShortDays[i - 1]);
        fs.LongDayNames[i] = QString::fromLatin1(GermanLongDays[i - 1]);
    }
    return fs;
}

// Qt's date and time patterns in the classic tokens: minutes become "n", the AM/PM mark "ampm",
// the time zone is dropped (the classic formats have none).
QString ClassicFormat(const QString &Qt)
{
    QString r;
    const qsizetype n = Qt.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = Qt[i];
        qsizetype run = 1;
        while (i + run < n && Qt[i + run] == c)
            ++run;
        if (c == QLatin1Char('\'')) {
            // Quoted literal; '' is a single quote.
            const qsizetype end = Qt.indexOf(QLatin1Char('\''), i + 1);
            if (end == i + 1) {
                r += QStringLiteral("\"'\"");
                i += 2;
                continue;
            }
            const qsizetype stop = end < 0 ? n : end;
            r += QLatin1Char('"') + Qt.mid(i + 1, stop - i - 1) + QLatin1Char('"');
            i = end < 0 ? n : end + 1;
            continue;
        }
        const char16_t u = c.unicode();
        if (u == u'M')
            r += QString(run, QLatin1Char('m'));
        else if (u == u'm')
            r += QString(std::min<qsizetype>(run, 2), QLatin1Char('n'));
        else if (u == u'H' || u == u'h')
            r += QString(std::min<qsizetype>(run, 2), QLatin1Char('h'));
        else if (u == u'y')
            r += run <= 2 ? QStringLiteral("yy") : QStringLiteral("yyyy");
        else if (u == u'd' || u == u's' || u == u'z')
            r += QString(run, c);
        else if (u == u'A' || u == u'a') {
            // "AP", "ap" or a lone "A"/"a".
            qsizetype len = run;
            if (i + len < n && (Qt[i + len] == QLatin1Char('P') || Qt[i + len] == QLatin1Char('p')))
                ++len;
            r += QStringLiteral("AMPM");
            i += len;
            continue;
        } else if (u == u't')
            ; // time zone
        else
            r += QString(run, c);
        i += run;
    }
    return r.trimmed();
}

// The first character of a pattern that is no letter, quote, blank or direction mark: the
// separator it uses.
QChar SeparatorOf(const QString &Pattern, QChar Default)
{
    for (QChar c : Pattern)
        if (!c.isLetter() && c != QLatin1Char('\'') && c != QLatin1Char('"') && c != QLatin1Char(' ') &&
            c.category() != QChar::Other_Format)
            return c;
    return Default;
}

// Windows short date formats carry four-digit years where the Unicode locale data mostly has two;
// two digits would lose the century in every date the system writes and reads back.
QString WithFourDigitYears(const QString &Format)
{
    QString r = Format;
    if (!r.contains(QLatin1String("yyyy")))
        r.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return r;
}

// Recognises the locale's currency pattern among the classic ones by formatting 1 and -1.
void SetCurrencyFormats(TFormatSettings &FS, const QLocale &L)
{
    const QString symbol = L.currencySymbol();
    FS.CurrencyString = symbol.isEmpty() ? QStringLiteral("\u00A4") : symbol;
    auto pattern = [&](double v) {
        QString s = L.toCurrencyString(v, FS.CurrencyString, 0);
        s.replace(FS.CurrencyString, QStringLiteral("$"));
        s.replace(QChar(0x00A0), QLatin1Char(' '));
        s.replace(QChar(0x202F), QLatin1Char(' '));
        s.replace(L.negativeSign(), QStringLiteral("-"));
        s.remove(QChar(0x200E)); // direction marks
        s.remove(QChar(0x200F));
        return s;
    };
    static const char *const positive[] = {"$1", "1$", "$ 1", "1 $"};
    static const char *const negative[] = {"($1)", "-$1", "$-1", "$1-", "(1$)", "-1$", "1-$", "1$-",
                                           "-1 $", "-$ 1", "1 $-", "$ 1-", "$ -1", "1- $", "($ 1)", "(1 $)"};
    const QString p = pattern(1);
    const QString m = pattern(-1);
    FS.CurrencyFormat = 0;
    for (Byte k = 0; k < 4; ++k)
        if (p == QLatin1String(positive[k]))
            FS.CurrencyFormat = k;
    FS.NegCurrFormat = FS.CurrencyFormat == 0 ? 1 : 5;
    for (Byte k = 0; k < 16; ++k)
        if (m == QLatin1String(negative[k]))
            FS.NegCurrFormat = k;
    FS.CurrencyDecimals = 2;
}

TFormatSettings FromLocale(const QLocale &L)
{
    TFormatSettings fs;
    fs.DecimalSeparator = L.decimalPoint().isEmpty() ? QLatin1Char('.') : L.decimalPoint().at(0);
    fs.ThousandSeparator = L.groupSeparator().isEmpty() ? QLatin1Char(',') : L.groupSeparator().at(0);
    // The list separator is ";" wherever "," is the decimal separator.
    fs.ListSeparator = fs.DecimalSeparator == QLatin1Char(',') ? QLatin1Char(';') : QLatin1Char(',');
    const QString shortDate = L.dateFormat(QLocale::ShortFormat);
    const QString shortTime = L.timeFormat(QLocale::ShortFormat);
    fs.ShortDateFormat = WithFourDigitYears(ClassicFormat(shortDate));
    fs.LongDateFormat = ClassicFormat(L.dateFormat(QLocale::LongFormat));
    fs.ShortTimeFormat = ClassicFormat(shortTime);
    fs.LongTimeFormat = ClassicFormat(L.timeFormat(QLocale::LongFormat));
    fs.DateSeparator = SeparatorOf(shortDate, QLatin1Char('/'));
    fs.TimeSeparator = SeparatorOf(shortTime, QLatin1Char(':'));
    fs.TimeAMString = L.amText();
    fs.TimePMString = L.pmText();
    for (int i = 1; i <= 12; ++i) {
        fs.ShortMonthNames[i] = L.standaloneMonthName(i, QLocale::ShortFormat);
        fs.LongMonthNames[i] = L.standaloneMonthName(i, QLocale::LongFormat);
    }
    // Qt counts the days from Monday (1) to Sunday (7), the classic names from Sunday.
    for (int i = 1; i <= 7; ++i) {
        const int qtDay = i == 1 ? 7 : i - 1;
        fs.ShortDayNames[i] = L.standaloneDayName(qtDay, QLocale::ShortFormat);
        fs.LongDayNames[i] = L.standaloneDayName(qtDay, QLocale::LongFormat);
    }
    SetCurrencyFormats(fs, L);
    return fs;
}

} // namespace

TFormatSettings TFormatSettings::Create() { return FromLocale(QLocale::system()); }

TFormatSettings TFormatSettings::Create(const UnicodeString &LocaleName)
{
    QString name = LocaleName.trimmed();
    name.replace(QLatin1Char('_'), QLatin1Char('-'));
    if (name.isEmpty())
        return Invariant();
    if (name.compare(QLatin1String("en-US"), Qt::CaseInsensitive) == 0)
        return EnglishUS();
    if (name.compare(QLatin1String("de-DE"), Qt::CaseInsensitive) == 0)
        return GermanDE();
    return FromLocale(QLocale(name));
}

// The member initialisers hold the invariant formats; the names are English.
TFormatSettings::TFormatSettings() { SetEnglishNames(*this); }

TFormatSettings TFormatSettings::Invariant() { return TFormatSettings(); }

TFormatSettings FormatSettings = TFormatSettings::Create();

void ResetFormatSettings() { FormatSettings = TFormatSettings::Create(); }

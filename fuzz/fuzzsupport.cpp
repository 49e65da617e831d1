#include "fuzzsupport.h"

#include <QApplication>

#include <algorithm>


namespace zelvan::fuzz {

void check(bool condition, const char *property, const QString &detail)
{
    if (!condition)
        throw PropertyFailed{QString::fromUtf8(property) + (detail.isEmpty() ? QString() : QStringLiteral(": ") + detail)};
}

quint8 FuzzInput::byte()
{
    return atEnd() ? 0 : quint8(m_data[m_pos++]);
}

quint64 FuzzInput::bits(int count)
{
    quint64 value = 0;
    for (int i = 0; i < std::min(count, 8); ++i)
        value |= quint64(byte()) << (8 * i);
    return value;
}

QByteArray FuzzInput::bytes()
{
    if (atEnd())
        return QByteArray();
    qsizetype end = m_data.indexOf('\0', m_pos);
    const qsizetype next = end < 0 ? m_data.size() : end + 1;
    if (end < 0)
        end = m_data.size();
    const QByteArray result = m_data.sliced(m_pos, end - m_pos).toByteArray();
    m_pos = next;
    return result;
}

QString FuzzInput::text()
{
    return QString::fromUtf8(bytes());
}

QByteArray FuzzInput::rest()
{
    const QByteArray result = m_data.sliced(std::min(m_pos, m_data.size())).toByteArray();
    m_pos = m_data.size();
    return result;
}

bool decimalIsExact(const QString &text)
{
    return !text.contains(u'e', Qt::CaseInsensitive)
        && std::count_if(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }) <= 28;
}

void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "zelvan-fuzz";
    static char *argv[] = {name, nullptr};
    // Never destroyed: the fuzzer ends the process without returning.
    static QApplication *application = new QApplication(argc, argv);
    Q_UNUSED(application);
}

namespace {
constexpr Target AllTargets[] = {
    {"launchline", fuzzLaunchLine},
    {"navigation", fuzzNavigation},
    {"registryfile", fuzzRegistryFile},
    {"connectionstring", fuzzConnectionString},
    {"sqlnames", fuzzSqlNames},
    {"selectlist", fuzzSelectList},
    {"numberformat", fuzzNumberFormat},
    {"varianttext", fuzzVariantText},
};
} // namespace

std::span<const Target> targets()
{
    return AllTargets;
}

const Target *findTarget(QByteArrayView name)
{
    for (const Target &target : AllTargets) {
        if (name == target.name)
            return &target;
    }
    return nullptr;
}

} // namespace zelvan::fuzz

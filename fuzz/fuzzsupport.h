#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <span>


namespace zelvan::fuzz {

// A property of a parser that an input broke. The fuzzer's entry reports it
// and aborts; the regression test turns it into a failure.
struct PropertyFailed
{
    QString what;
};

// Throws PropertyFailed with `property` and `detail` unless `condition` holds.
void check(bool condition, const char *property, const QString &detail = QString());

// Reads a fuzz input front to back. Past the end every read gives zeros or
// empty text, so a target never needs to check the length.
class FuzzInput
{
public:
    explicit FuzzInput(QByteArrayView data) : m_data(data) {}

    bool atEnd() const { return m_pos >= m_data.size(); }
    quint8 byte();
    // `count` bytes (at most 8), little-endian.
    quint64 bits(int count);
    // A number in [0, n).
    int pick(int n) { return n <= 1 ? 0 : int(byte() % n); }
    bool flag() { return byte() & 1; }
    // UTF-8 text up to the next NUL byte (taken) or the end.
    QString text();
    QByteArray bytes();
    // Everything not read yet.
    QByteArray rest();

private:
    QByteArrayView m_data;
    qsizetype m_pos = 0;
};

// True when Decimal::parse reads `text` without rounding: no exponent and at
// most 28 digits. Only then is Decimal an exact oracle for the text's number.
bool decimalIsExact(const QString &text);

// A QApplication on the offscreen platform when none exists yet (the
// navigation target needs widgets).
void ensureApplication();

// Every fuzz target: its name (the folder of its corpus) and its entry.
struct Target
{
    const char *name;
    void (*run)(QByteArrayView data);
};
std::span<const Target> targets();
const Target *findTarget(QByteArrayView name);

// The targets, one file each.
void fuzzLaunchLine(QByteArrayView data);
void fuzzNavigation(QByteArrayView data);
void fuzzRegistryFile(QByteArrayView data);
void fuzzConnectionString(QByteArrayView data);
void fuzzSqlNames(QByteArrayView data);
void fuzzSelectList(QByteArrayView data);
void fuzzNumberFormat(QByteArrayView data);
void fuzzVariantText(QByteArrayView data);

} // namespace zelvan::fuzz

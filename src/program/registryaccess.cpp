#include "program/registryaccess.h"

#include "program/program.h"
#include "runtime/codepage1254.h"

using zelvan::platform::Registry;

namespace zelvan::program {

QString RegReadString(Program &program, Registry::Key root, const QString &keyPath, const QString &valueName)
{
    Registry &registry = *program.services.registry;
    Registry::Key key = 0;
    registry.openKey(root, runtime::toCp1254(keyPath), &key);
    const QString text = RegQueryValue(program, key, valueName);
    registry.closeKey(key);
    return text;
}

void RegWriteString(Program &program, Registry::Key root, const QString &keyPath, const QString &valueName,
                    const QString &text)
{
    Registry &registry = *program.services.registry;
    Registry::Key key = 0;
    registry.createKey(root, runtime::toCp1254(keyPath), &key);
    QByteArray data = runtime::toCp1254(text);
    data.append('\0');
    registry.setValue(key, runtime::toCp1254(valueName), Registry::TypeString, data);
    registry.closeKey(key);
}

QString RegQueryValue(Program &program, Registry::Key key, const QString &valueName)
{
    Registry &registry = *program.services.registry;
    const QByteArray name = runtime::toCp1254(valueName);
    quint32 type = Registry::TypeNone;
    quint32 size = 0;
    if (registry.queryValue(key, name, &type, nullptr, &size) != Registry::Success)
        return QString();

    switch (type) {
    case Registry::TypeString: {
        if (size == 0)
            return QString();
        QByteArray buffer(qsizetype(size), '\0');
        if (registry.queryValue(key, name, &type, buffer.data(), &size) != Registry::Success)
            return QString();
        const qsizetype end = buffer.indexOf('\0');
        return runtime::fromCp1254(end < 0 ? QByteArrayView(buffer) : QByteArrayView(buffer).first(end));
    }
    case Registry::TypeBinary: {
        // Read the whole value so that nothing overruns; a shorter one leaves
        // the missing high byte zero, so a single byte reads as 0..255.
        QByteArray buffer(qsizetype(qMax<quint32>(size, 2)), '\0');
        quint32 bufferSize = quint32(buffer.size());
        if (registry.queryValue(key, name, &type, buffer.data(), &bufferSize) != Registry::Success)
            return QString();
        const auto number = qint16(quint16(quint8(buffer[0])) | quint16(quint8(buffer[1])) << 8);
        return QString::number(number);
    }
    default:
        return QString();
    }
}

} // namespace zelvan::program

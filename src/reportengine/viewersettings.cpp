#include "reportengine/viewersettings.h"

#include "platform/registry.h"

#include <QtEndian>

#include <optional>

namespace zelvan::reportengine {

namespace {

using platform::Registry;

const QByteArray KeyPath = QByteArrayLiteral("Software\\Zelvan\\Rapor");
const QByteArray WidthName = QByteArrayLiteral("Genislik");
const QByteArray HeightName = QByteArrayLiteral("Yukseklik");
const QByteArray ZoomName = QByteArrayLiteral("Yakinlik");

// Screens are not wider than this in pixels; a larger value is no size of ours.
constexpr quint32 MaxWindowSide = 20000;

std::optional<quint32> readDword(Registry &registry, Registry::Key key, const QByteArray &name)
{
    quint32 type = Registry::TypeNone;
    char data[4];
    quint32 size = sizeof data;
    if (registry.queryValue(key, name, &type, data, &size) != Registry::Success || type != Registry::TypeDword || size != 4)
        return std::nullopt;
    return qFromLittleEndian<quint32>(data);
}

bool writeDword(Registry &registry, Registry::Key key, const QByteArray &name, quint32 value)
{
    char data[4];
    qToLittleEndian(value, data);
    return registry.setValue(key, name, Registry::TypeDword, QByteArray(data, sizeof data)) == Registry::Success;
}

} // namespace

ViewerSettings ViewerSettings::read(Registry &registry)
{
    ViewerSettings settings;
    Registry::Key key = 0;
    if (registry.openKey(Registry::CurrentUser, KeyPath, &key) != Registry::Success)
        return settings;
    const auto width = readDword(registry, key, WidthName);
    const auto height = readDword(registry, key, HeightName);
    const auto zoom = readDword(registry, key, ZoomName);
    registry.closeKey(key);
    if (width && height && *width > 0 && *height > 0 && *width <= MaxWindowSide && *height <= MaxWindowSide)
        settings.windowSize = QSize(int(*width), int(*height));
    if (zoom && *zoom >= MinZoomPercent && *zoom <= MaxZoomPercent)
        settings.zoomPercent = int(*zoom);
    return settings;
}

bool ViewerSettings::write(Registry &registry) const
{
    Registry::Key key = 0;
    if (registry.createKey(Registry::CurrentUser, KeyPath, &key) != Registry::Success)
        return false;
    bool written = true;
    if (windowSize.isValid()) {
        written = writeDword(registry, key, WidthName, quint32(windowSize.width()))
                  && writeDword(registry, key, HeightName, quint32(windowSize.height()));
    }
    written = written && writeDword(registry, key, ZoomName, quint32(zoomPercent));
    registry.closeKey(key);
    return written;
}

} // namespace zelvan::reportengine

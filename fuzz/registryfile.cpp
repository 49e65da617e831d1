// The registry export file that stands in for HKEY_CURRENT_USER.
#include "fuzzsupport.h"

#include "platform/registry.h"
#include "platform/registryexport.h"

#include <algorithm>


namespace zelvan::fuzz {

using platform::Registry;
using platform::RegistryFileFormat;
using platform::RegistryTree;
using platform::RegistryValue;

namespace {

bool hasLineBreak(const QString &text)
{
    return text.contains(u'\n') || text.contains(u'\r');
}

// Every key, value and other root of `read` (a written and re-read tree) is
// the one of `original`.
void checkSameContent(const RegistryTree &original, const RegistryTree &read)
{
    check(original.keys().size() == read.keys().size(), "every key is written");
    for (qsizetype k = 0; k < original.keys().size(); ++k) {
        const auto &key = original.keys()[k];
        const auto &back = read.keys()[k];
        check(key.path() == back.path(), "a key keeps its path", key.path());
        check(read.key(key.path()) == &back, "a key is found by its path", key.path());
        check(key.values().size() == back.values().size(), "every value is written", key.path());
        for (qsizetype v = 0; v < key.values().size(); ++v) {
            const RegistryValue &value = key.values()[v];
            const RegistryValue &readValue = back.values()[v];
            check(value.name == readValue.name, "a value keeps its name", value.name);
            check(value.type == readValue.type, "a value keeps its type", value.name);
            check(value.toData() == readValue.toData(), "a value keeps its data", value.name);
            if (value.isText && !hasLineBreak(value.text))
                check(readValue.isText && readValue.text == value.text, "a text keeps its text form", value.name);
        }
    }
    check(original.otherRoots == read.otherRoots, "other roots are kept as they stood");
}

} // namespace

void fuzzRegistryFile(QByteArrayView data)
{
    RegistryTree tree = platform::parseRegistryFile(data);
    // A file that can be read is written back in its own form, which must read as that form again; any other
    // is written as a new file would be (what of it was read leniently may not be valid text).
    const std::optional<RegistryFileFormat> format = platform::registryFileFormat(data);

    // A value as a program hands it to RegSetValueExA, made of the input's
    // last bytes: it must come back byte for byte.
    static const quint32 Types[] = {Registry::TypeString, Registry::TypeBinary, Registry::TypeDword, 2, 7, 0x12345};
    const quint32 type = Types[data.size() % std::size(Types)];
    const QByteArray bytes = data.last(std::min<qsizetype>(data.size(), 24)).toByteArray();
    tree.addKey(QStringLiteral("Fuzz\\Written")).setValue(RegistryValue::fromData(QStringLiteral("value"), type, bytes));

    const QByteArray written = platform::writeRegistryFile(tree, format.value_or(RegistryFileFormat()));
    if (format)
        check(platform::registryFileFormat(written) == format, "a file is written in the form it had");
    const RegistryTree read = platform::parseRegistryFile(written);
    checkSameContent(tree, read);
    check(platform::writeRegistryFile(read, format.value_or(RegistryFileFormat())) == written,
          "writing what was read gives the same file");

    const RegistryValue *value = read.key(u"fuzz\\WRITTEN") ? read.key(u"fuzz\\WRITTEN")->value(u"VALUE") : nullptr;
    check(value && value->type == type && value->toData() == bytes, "a written value reads back as its bytes");
}

} // namespace zelvan::fuzz

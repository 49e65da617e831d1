#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace zelvan::platform {

// The form of a registry export file, kept so that a rewrite changes only
// the values: Windows' registry editor exports UTF-16 with a byte order mark,
// CRLF and the version 5 header; a file this program starts is REGEDIT4 in
// UTF-8 with LF.
struct RegistryFileFormat
{
    enum class Encoding { Utf8, Utf16LE, Utf16BE };

    Encoding encoding = Encoding::Utf8;
    bool byteOrderMark = false;  // always for UTF-16; kept for UTF-8 when the file had one
    bool version5 = false;       // "Windows Registry Editor Version 5.00", else "REGEDIT4"
    bool crlf = false;

    bool operator==(const RegistryFileFormat &) const = default;
};

// The format of a file that can be rewritten without losing what it holds,
// or nothing when it cannot be read: text that is not valid in its encoding
// (UTF-16 after either byte order mark, else UTF-8), a NUL character, or a
// first line that is neither header. An empty file (0 bytes) is an empty
// registry in the default format. Line ends are CRLF when every line of the
// file ends so, LF when none does; mixed, they are CRLF for UTF-16 and LF
// for UTF-8.
std::optional<RegistryFileFormat> registryFileFormat(QByteArrayView bytes);

// The text of a file starting with a UTF-16 byte order mark, as UTF-8
// without the mark (a surrogate out of its pair is replaced, an odd last byte
// dropped); nothing for any other file.
std::optional<QByteArray> utf16AsUtf8(QByteArrayView bytes);

// The header line of the format, without its line end.
QByteArray registryFileHeader(const RegistryFileFormat &format);

// `text`, UTF-8 with LF line ends, in the format's encoding and line ends,
// after its byte order mark.
QByteArray encodeRegistryFile(const QByteArray &text, const RegistryFileFormat &format);

} // namespace zelvan::platform

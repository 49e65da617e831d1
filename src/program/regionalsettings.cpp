#include "program/regionalsettings.h"

#include "platform/endnow.h"
#include "platform/messageboxes.h"
#include "platform/registry.h"
#include "platform/systeminfo.h"
#include "program/exitcodes.h"
#include "program/program.h"
#include "program/registryaccess.h"

#include <array>

using namespace Qt::Literals::StringLiterals;
using zelvan::platform::Registry;

namespace zelvan::program {

namespace {

const QString InternationalKey = u"Control Panel\\International"_s;

struct RequiredSetting
{
    QString name;
    QString content;
    QString mismatchCode;
};

QString readInternational(Program &program, const QString &name)
{
    return RegReadString(program, Registry::CurrentUser, InternationalKey, name);
}

// RegWriteString ignores failures; a setting that did not take would leave
// the report printing amounts with the old separators. So each is read back,
// and one that did not take ends the program as a refusal does.
void writeInternational(Program &program, const QString &name, const QString &content)
{
    RegWriteString(program, Registry::CurrentUser, InternationalKey, name, content);
    if (readInternational(program, name) == content)
        return;
    program.msgBox(u"Bölge ayarları kaydedilemedi: "_s + program.services.registry->keyLocation(InternationalKey),
                   platform::MsgBox::OkOnly | platform::MsgBox::Critical);
    program.end(program::ExitCode::RegionalSettings);
}

QString orDefault(const QString &text, const QString &fallback)
{
    return text.isEmpty() ? fallback : text;
}

} // namespace

void CheckRegionalSettings(Program &program)
{
    const std::array<RequiredSetting, 4> required = {{
        {u"sDecimal"_s, u","_s, u"ONDALIK"_s},
        {u"sThousand"_s, u"."_s, u"BASAMAK"_s},
        {u"sDate"_s, u"."_s, u"TARIH"_s},
        {u"sShortDate"_s, u"dd.MM.yyyy"_s, u"TARIH"_s},
    }};

    program.vars.RegionalMismatch.clear();
    for (const RequiredSetting &setting : required) {
        if (readInternational(program, setting.name) != setting.content)
            program.vars.RegionalMismatch = setting.mismatchCode;
    }
    if (program.vars.RegionalMismatch.isEmpty())
        return;

    const QString question = u"Programın Çalışabilmesi için Sistemin Ayarlanması Gerekiyor."_s + u'\r'
                             + u"Eğer Onaylarsanız Bu ayarlar Yapılacaktır."_s + u'\r' + u"Onaylıyormusunuz ?"_s;
    if (program.msgBox(question, platform::MsgBox::YesNo | platform::MsgBox::Question) != platform::MsgBox::Yes)
        program.end(program::ExitCode::RegionalSettings);

    writeInternational(program, u"sDecimal"_s, u","_s);
    writeInternational(program, u"sThousand"_s, u"."_s);
    writeInternational(program, u"sShortDate"_s, u"dd.MM.yyyy"_s);
    writeInternational(program, u"sDate"_s, u"."_s);

    // The Windows 95 family sets the top bit, which makes the remainder negative.
    const auto version = qint32(program.services.system->getVersion());
    const qint32 majorVersion = version % 256;
    if (majorVersion <= 4) {
        program.msgBox(u"Sistem Ayarlanız Tamamlandı.Bilgisayarınızın Yeniden Başlatılması Gerekiyor"_s,
                       platform::MsgBox::OkOnly | platform::MsgBox::Information);
        constexpr quint32 EwxReboot = 2;
        program.services.system->exitWindowsEx(EwxReboot, 0);
        program.end(program::ExitCode::RegionalSettings);
    }
    program.vars.RegionalMismatch.clear();
}

WorkstationFormats readWorkstationFormats(Program &program)
{
    WorkstationFormats formats;
    formats.decimalSeparator = orDefault(readInternational(program, u"sDecimal"_s), u","_s);
    formats.thousandsSeparator = orDefault(readInternational(program, u"sThousand"_s), u"."_s);
    formats.shortDate = orDefault(readInternational(program, u"sShortDate"_s), u"dd.MM.yyyy"_s);
    formats.timeFormat = orDefault(readInternational(program, u"sTimeFormat"_s), u"HH:mm:ss"_s);
    return formats;
}

} // namespace zelvan::program

#include "runtime/err.h"

namespace zelvan::runtime {

Err::Err(qint32 number, QString description)
    : m_number(number)
    , m_description(std::move(description))
    , m_what(m_description.toStdString())
{
}

Err overflowError()
{
    return Err(ErrNo::Overflow, QStringLiteral(u"Taşma"));
}

Err typeMismatchError()
{
    return Err(ErrNo::TypeMismatch, QStringLiteral(u"Tür uyuşmazlığı"));
}

Err invalidUseOfNullError()
{
    return Err(ErrNo::InvalidUseOfNull, QStringLiteral(u"Geçersiz Null kullanımı"));
}

Err noCurrentRecordError()
{
    return Err(ErrNo::NoCurrentRecord,
               QStringLiteral(u"BOF veya EOF True, ya da geçerli kayıt silinmiş. "
                              u"İstenen işlem için geçerli bir kayıt gerekir."));
}

Err itemNotFoundError()
{
    return Err(ErrNo::ItemNotFound,
               QStringLiteral(u"Öğe, istenen ad veya sıraya karşılık gelen koleksiyonda bulunamıyor."));
}

Err objectClosedError()
{
    return Err(ErrNo::ObjectClosed, QStringLiteral(u"Nesne kapalıyken işleme izin verilmez."));
}

} // namespace zelvan::runtime

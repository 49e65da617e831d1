#include "tradenames.h"

#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace zelvan::demo {

namespace {

const char16_t *const familyNames[] = {
    u"Yıldız", u"Kaya", u"Demir", u"Şahin", u"Çelik", u"Yılmaz", u"Öztürk", u"Aydın", u"Özdemir", u"Arslan",
    u"Doğan", u"Kılıç", u"Aslan", u"Çetin", u"Kara", u"Koç", u"Kurt", u"Özkan", u"Şimşek", u"Polat",
    u"Korkmaz", u"Erdoğan", u"Güneş", u"Akın", u"Bulut", u"Ünal", u"Tekin", u"Ateş", u"Güler", u"Yavuz",
    u"Karaca", u"Uçar", u"Acar", u"Tunç", u"Başaran", u"Ergün", u"Sarı", u"Bozkurt", u"Aksoy", u"Yücel",
};

const char16_t *const placeNames[] = {
    u"Anadolu", u"Ege", u"Karadeniz", u"Marmara", u"Akdeniz", u"Toros", u"Başkent", u"Boğaziçi",
    u"Kuzey", u"Güney", u"Yeni", u"Altın", u"Birlik", u"Umut", u"Ufuk", u"Doğu",
};

const char16_t *const firstNames[] = {
    u"Ahmet", u"Mehmet", u"Mustafa", u"Ali", u"Hüseyin", u"Hasan", u"İbrahim", u"Fatma", u"Ayşe",
    u"Emine", u"Hatice", u"Zeynep", u"Elif", u"Özlem", u"Gülşen", u"Şükrü", u"Ümit", u"Çağlar",
};

const char16_t *const sectors[] = {
    u"İnşaat", u"Tekstil", u"Gıda", u"Otomotiv", u"Mobilya", u"Elektrik", u"Elektronik", u"Kimya",
    u"Plastik", u"Ambalaj", u"Makine", u"Tarım Ürünleri", u"Lojistik", u"Nakliyat", u"Turizm", u"Bilişim",
    u"Medikal", u"Kırtasiye", u"Hırdavat", u"Yapı Malzemeleri", u"Madencilik", u"Enerji", u"Petrol Ürünleri",
    u"Temizlik Ürünleri", u"Matbaacılık", u"Cam", u"Mermer", u"Deri", u"Oto Yedek Parça", u"Su Ürünleri",
};

const char16_t *const activities[] = {
    u"", u"", u"", u" Sanayi ve Ticaret", u" Ticaret", u" İthalat İhracat", u" Pazarlama", u" Dış Ticaret",
};

const char16_t *const companyForms[] = {
    u"A.Ş.", u"Ltd. Şti.", u"Ltd. Şti.", u"San. ve Tic. A.Ş.", u"San. Tic. Ltd. Şti.", u"Koll. Şti.",
};

const char16_t *const cities[] = {
    u"İstanbul", u"İstanbul", u"İstanbul", u"Ankara", u"Ankara", u"İzmir", u"İzmir", u"Bursa", u"Antalya",
    u"Konya", u"Adana", u"Gaziantep", u"Kayseri", u"Eskişehir", u"Mersin", u"Samsun", u"Denizli",
    u"Trabzon", u"Kocaeli", u"Sakarya", u"Manisa", u"Diyarbakır", u"Şanlıurfa", u"Malatya", u"Balıkesir",
    u"Tekirdağ", u"Muğla", u"Aydın", u"Çorum", u"Isparta", u"Uşak", u"Kütahya", u"Afyonkarahisar",
    u"Çanakkale", u"Iğdır", u"Ağrı",
};

const char16_t *const districts[] = {
    u"Kadıköy", u"Merkez", u"Çankaya", u"Konak", u"Osmangazi", u"Nilüfer", u"Beşiktaş", u"Şişli",
    u"Ümraniye", u"Bornova", u"Kızılay", u"Sanayi", u"Organize Sanayi", u"Çarşı", u"Ticari",
};

struct GoodsWord
{
    const char16_t *name;
    const char16_t *unit;
};

const GoodsWord hardwareGoods[] = {
    {u"Vida M6x30", u"Paket"}, {u"Somun M8", u"Paket"}, {u"Topraklı Priz", u"Adet"},
    {u"LED Ampul 9W", u"Adet"}, {u"Kablo Kanalı", u"Metre"}, {u"Silikon Tabancası", u"Adet"},
    {u"Boya Fırçası", u"Adet"}, {u"Matkap Ucu 8 mm", u"Adet"}, {u"Çekiç 500 gr", u"Adet"},
    {u"Tornavida Seti", u"Adet"}, {u"Küresel Vana 1/2\"", u"Adet"}, {u"Kapı Menteşesi", u"Adet"},
    {u"Barel Kilit", u"Adet"}, {u"NYM Kablo 3x2,5", u"Metre"}, {u"Bahçe Hortumu 1/2\"", u"Metre"},
    {u"Polyester Halat 12 mm", u"Metre"}, {u"Çimento", u"kg"}, {u"Saten Alçı", u"kg"},
    {u"İnşaat Çivisi", u"kg"}, {u"Galvaniz Tel", u"kg"}, {u"Derz Dolgu", u"kg"},
    {u"Seramik Yapıştırıcı", u"kg"}, {u"Tiner", u"Litre"}, {u"Antifriz", u"Litre"},
    {u"Motor Yağı 10W-40", u"Litre"}, {u"Plastik Boya", u"Litre"}, {u"A4 Fotokopi Kağıdı", u"Koli"},
    {u"Tükenmez Kalem", u"Paket"}, {u"Geniş Klasör", u"Adet"}, {u"Zımba Teli", u"Paket"},
    {u"İş Eldiveni", u"Paket"}, {u"Baret", u"Adet"},
};

const GoodsWord foodGoods[] = {
    {u"Toz Şeker", u"kg"}, {u"Baldo Pirinç", u"kg"}, {u"Kırmızı Mercimek", u"kg"}, {u"Un Tip 550", u"kg"},
    {u"Siyah Zeytin", u"kg"}, {u"Beyaz Peynir", u"kg"}, {u"Kaşar Peyniri", u"kg"}, {u"İç Fındık", u"kg"},
    {u"İç Ceviz", u"kg"}, {u"Kuru Kayısı", u"kg"}, {u"Nohut", u"kg"}, {u"Bulgur Pilavlık", u"kg"},
    {u"Sucuk", u"kg"}, {u"Tereyağı", u"kg"}, {u"Zeytinyağı", u"Litre"}, {u"Ayçiçek Yağı", u"Litre"},
    {u"Makarna", u"Koli"}, {u"Çay Bardağı", u"Paket"}, {u"Kağıt Peçete", u"Koli"}, {u"Domates Salçası", u"Adet"},
    {u"Biber Salçası", u"Adet"}, {u"Maden Suyu", u"Koli"}, {u"Türk Kahvesi", u"Paket"}, {u"Siyah Çay", u"Paket"},
};

const char16_t *const grades[] = {
    u"", u"", u" Ekonomik", u" Premium", u" 1. Kalite", u" İthal", u" Yerli", u" Dökme", u" Ambalajlı",
};

QString text(const char16_t *s)
{
    return QString::fromUtf16(s);
}

} // namespace

QString tradeName(Random &random)
{
    QString name;
    switch (random.below(10)) {
    case 0:
    case 1:
        // A sole trader: the owner's name before the trade.
        name = text(random.pick(firstNames)) + u' ' + text(random.pick(familyNames)) + u' ' + text(random.pick(sectors));
        return name;
    case 2:
    case 3:
        name = text(random.pick(placeNames));
        break;
    default:
        name = text(random.pick(familyNames));
        break;
    }
    return name + u' ' + text(random.pick(sectors)) + text(random.pick(activities)) + u' ' + text(random.pick(companyForms));
}

QString cityName(Random &random)
{
    return text(random.pick(cities));
}

const QList<BankName> &bankNames()
{
    static const QList<BankName> banks = {
        {u"T.C. Ziraat Bankası"_s, u"00010"_s}, {u"Türkiye Halk Bankası"_s, u"00012"_s},
        {u"Türkiye Vakıflar Bankası"_s, u"00015"_s}, {u"Akbank"_s, u"00046"_s},
        {u"Türkiye Garanti Bankası"_s, u"00062"_s}, {u"Türkiye İş Bankası"_s, u"00064"_s},
        {u"Yapı ve Kredi Bankası"_s, u"00067"_s}, {u"QNB Bank"_s, u"00111"_s},
        {u"Denizbank"_s, u"00134"_s},
    };
    return banks;
}

QString branchName(Random &random)
{
    return text(random.pick(districts)) + u" Şubesi"_s;
}

QString iban(const QString &bankCode, Random &random)
{
    // TR, two check digits, bank code, a reserved 0, sixteen account digits.
    QString bban = bankCode + u'0';
    for (int i = 0; i < 16; ++i)
        bban += QChar(u'0' + int(random.below(10)));
    // ISO 13616: move "TR00" to the end (T = 29, R = 27) and take mod 97.
    const QString digits = bban + u"292700"_s;
    int remainder = 0;
    for (QChar c : digits)
        remainder = (remainder * 10 + (c.unicode() - u'0')) % 97;
    const int check = 98 - remainder;
    return u"TR"_s + QChar(u'0' + check / 10) + QChar(u'0' + check % 10) + bban;
}

Goods goods(Trade trade, Random &random)
{
    const GoodsWord &word = trade == Trade::Food ? random.pick(foodGoods) : random.pick(hardwareGoods);
    const QString unit = text(word.unit);
    return {text(word.name) + text(random.pick(grades)), unit, unit == u"kg"};
}

} // namespace zelvan::demo

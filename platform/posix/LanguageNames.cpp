#include "platform/VersionInfo.h"

#include <cstdio>
#include <iterator>

namespace platform {

namespace {

struct NamedLanguage {
    uint16_t id;
    const char* name; // CP1252, as VerLanguageNameA gives it on a German system
};

// Full identifiers (primary language and sublanguage) that software commonly ships in.
constexpr NamedLanguage kLanguages[] = {
    {0x0000, "Sprachneutral"},
    {0x0401, "Arabisch (Saudi-Arabien)"},
    {0x0801, "Arabisch (Irak)"},
    {0x0C01, "Arabisch (\xC4gypten)"},
    {0x3801, "Arabisch (V.A.E.)"},
    {0x0402, "Bulgarisch (Bulgarien)"},
    {0x0403, "Katalanisch (Spanien)"},
    {0x0404, "Chinesisch (Taiwan)"},
    {0x0804, "Chinesisch (VR China)"},
    {0x0C04, "Chinesisch (Hongkong)"},
    {0x1004, "Chinesisch (Singapur)"},
    {0x1404, "Chinesisch (Macau)"},
    {0x0405, "Tschechisch (Tschechische Republik)"},
    {0x0406, "D\xE4nisch (D\xE4nemark)"},
    {0x0407, "Deutsch (Deutschland)"},
    {0x0807, "Deutsch (Schweiz)"},
    {0x0C07, "Deutsch (\xD6sterreich)"},
    {0x1007, "Deutsch (Luxemburg)"},
    {0x1407, "Deutsch (Liechtenstein)"},
    {0x0408, "Griechisch (Griechenland)"},
    {0x0409, "Englisch (USA)"},
    {0x0809, "Englisch (Gro\xDF"
             "britannien)"},
    {0x0C09, "Englisch (Australien)"},
    {0x1009, "Englisch (Kanada)"},
    {0x1409, "Englisch (Neuseeland)"},
    {0x1809, "Englisch (Irland)"},
    {0x1C09, "Englisch (S\xFC"
             "dafrika)"},
    {0x2009, "Englisch (Jamaika)"},
    {0x4009, "Englisch (Indien)"},
    {0x4809, "Englisch (Singapur)"},
    {0x040A, "Spanisch (Spanien, traditionelle Sortierung)"},
    {0x080A, "Spanisch (Mexiko)"},
    {0x0C0A, "Spanisch (Spanien)"},
    {0x2C0A, "Spanisch (Argentinien)"},
    {0x340A, "Spanisch (Chile)"},
    {0x240A, "Spanisch (Kolumbien)"},
    {0x040B, "Finnisch (Finnland)"},
    {0x040C, "Franz\xF6sisch (Frankreich)"},
    {0x080C, "Franz\xF6sisch (Belgien)"},
    {0x0C0C, "Franz\xF6sisch (Kanada)"},
    {0x100C, "Franz\xF6sisch (Schweiz)"},
    {0x140C, "Franz\xF6sisch (Luxemburg)"},
    {0x040D, "Hebr\xE4isch (Israel)"},
    {0x040E, "Ungarisch (Ungarn)"},
    {0x040F, "Isl\xE4ndisch (Island)"},
    {0x0410, "Italienisch (Italien)"},
    {0x0810, "Italienisch (Schweiz)"},
    {0x0411, "Japanisch (Japan)"},
    {0x0412, "Koreanisch (Korea)"},
    {0x0413, "Niederl\xE4ndisch (Niederlande)"},
    {0x0813, "Niederl\xE4ndisch (Belgien)"},
    {0x0414, "Norwegisch, Bokm\xE5l (Norwegen)"},
    {0x0814, "Norwegisch, Nynorsk (Norwegen)"},
    {0x0415, "Polnisch (Polen)"},
    {0x0416, "Portugiesisch (Brasilien)"},
    {0x0816, "Portugiesisch (Portugal)"},
    {0x0417, "R\xE4toromanisch (Schweiz)"},
    {0x0418, "Rum\xE4nisch (Rum\xE4nien)"},
    {0x0419, "Russisch (Russland)"},
    {0x041A, "Kroatisch (Kroatien)"},
    {0x081A, "Serbisch (Lateinisch)"},
    {0x0C1A, "Serbisch (Kyrillisch)"},
    {0x141A, "Bosnisch (Bosnien und Herzegowina)"},
    {0x041B, "Slowakisch (Slowakei)"},
    {0x041C, "Albanisch (Albanien)"},
    {0x041D, "Schwedisch (Schweden)"},
    {0x081D, "Schwedisch (Finnland)"},
    {0x041E, "Thai (Thailand)"},
    {0x041F, "T\xFCrkisch (T\xFCrkei)"},
    {0x0420, "Urdu (Pakistan)"},
    {0x0421, "Indonesisch (Indonesien)"},
    {0x0422, "Ukrainisch (Ukraine)"},
    {0x0423, "Wei\xDFrussisch (Wei\xDFrussland)"},
    {0x0424, "Slowenisch (Slowenien)"},
    {0x0425, "Estnisch (Estland)"},
    {0x0426, "Lettisch (Lettland)"},
    {0x0427, "Litauisch (Litauen)"},
    {0x0429, "Persisch (Iran)"},
    {0x042A, "Vietnamesisch (Vietnam)"},
    {0x042B, "Armenisch (Armenien)"},
    {0x042D, "Baskisch (Spanien)"},
    {0x042F, "Mazedonisch (Mazedonien)"},
    {0x0436, "Afrikaans (S\xFC"
             "dafrika)"},
    {0x0437, "Georgisch (Georgien)"},
    {0x0438, "F\xE4r\xF6isch (F\xE4r\xF6"
             "er)"},
    {0x0439, "Hindi (Indien)"},
    {0x043E, "Malaiisch (Malaysia)"},
    {0x043F, "Kasachisch (Kasachstan)"},
    {0x0441, "Suaheli (Kenia)"},
    {0x0445, "Bengalisch (Indien)"},
    {0x0449, "Tamil (Indien)"},
    {0x0456, "Galicisch (Spanien)"},
};

// Primary languages alone, for a sublanguage the table above does not hold.
constexpr NamedLanguage kPrimaryLanguages[] = {
    {0x01, "Arabisch"},
    {0x02, "Bulgarisch"},
    {0x03, "Katalanisch"},
    {0x04, "Chinesisch"},
    {0x05, "Tschechisch"},
    {0x06, "D\xE4nisch"},
    {0x07, "Deutsch"},
    {0x08, "Griechisch"},
    {0x09, "Englisch"},
    {0x0A, "Spanisch"},
    {0x0B, "Finnisch"},
    {0x0C, "Franz\xF6sisch"},
    {0x0D, "Hebr\xE4isch"},
    {0x0E, "Ungarisch"},
    {0x0F, "Isl\xE4ndisch"},
    {0x10, "Italienisch"},
    {0x11, "Japanisch"},
    {0x12, "Koreanisch"},
    {0x13, "Niederl\xE4ndisch"},
    {0x14, "Norwegisch"},
    {0x15, "Polnisch"},
    {0x16, "Portugiesisch"},
    {0x17, "R\xE4toromanisch"},
    {0x18, "Rum\xE4nisch"},
    {0x19, "Russisch"},
    {0x1A, "Kroatisch"},
    {0x1B, "Slowakisch"},
    {0x1C, "Albanisch"},
    {0x1D, "Schwedisch"},
    {0x1E, "Thai"},
    {0x1F, "T\xFCrkisch"},
    {0x20, "Urdu"},
    {0x21, "Indonesisch"},
    {0x22, "Ukrainisch"},
    {0x23, "Wei\xDFrussisch"},
    {0x24, "Slowenisch"},
    {0x25, "Estnisch"},
    {0x26, "Lettisch"},
    {0x27, "Litauisch"},
    {0x29, "Persisch"},
    {0x2A, "Vietnamesisch"},
    {0x2B, "Armenisch"},
    {0x2D, "Baskisch"},
    {0x2F, "Mazedonisch"},
    {0x36, "Afrikaans"},
    {0x37, "Georgisch"},
    {0x38, "F\xE4r\xF6isch"},
    {0x39, "Hindi"},
    {0x3E, "Malaiisch"},
    {0x3F, "Kasachisch"},
    {0x41, "Suaheli"},
    {0x45, "Bengalisch"},
    {0x49, "Tamil"},
    {0x56, "Galicisch"},
};

const char* Lookup(const NamedLanguage* table, size_t count, uint16_t id) {
    for (size_t i = 0; i < count; ++i)
        if (table[i].id == id)
            return table[i].name;
    return nullptr;
}

} // namespace

std::string LanguageName(uint16_t language) {
    if (const char* name = Lookup(kLanguages, std::size(kLanguages), language))
        return name;
    // The language without its region still tells the user more than a number would.
    uint16_t primary = language & 0x3FF;
    if (const char* name = Lookup(kPrimaryLanguages, std::size(kPrimaryLanguages), primary))
        return name;
    if (primary == 0)
        return "Sprachneutral";
    char unknown[32];
    std::snprintf(unknown, sizeof unknown, "Sprache 0x%04X", language);
    return unknown;
}

} // namespace platform

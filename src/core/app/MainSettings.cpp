#include "MainSettings.h"

#include "model/VexoUtils.h"

namespace kumby {

namespace {

constexpr const char* Global = "GLOBAL";
constexpr const char* Stakes = "STAKES";
constexpr const char* Cdl = "CDL";
constexpr const char* Shredding = "SHREDDING";
constexpr const char* Proxy = "PROXY";

int InRangeOr(int v, int lo, int hi, int fallback) {
    return v >= lo && v <= hi ? v : fallback;
}

uint8_t ByteOrZero(int v) {
    return v >= 0 && v <= 255 ? static_cast<uint8_t>(v) : 0;
}

// Keeps at most `limit` characters (not bytes) of a UTF-8 text.
std::string CutCharacters(const std::string& s, std::size_t limit) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (chars == limit)
                return s.substr(0, i);
            ++chars;
        }
    }
    return s;
}

} // namespace

void ReadConfigGroup(const TIniFile& ini, TConfigData& c) {
    // Sizes outside the matrix would divide by zero or index past it later. Both come
    // into the settings dialog's ranges here, once: a value the dialog cannot show
    // would otherwise change on the first OK and rebuild full-set files for nothing.
    c.MatrixCols = InRangeOr(ini.ReadInteger(Global, "MatrixCols", 4), 1, MaxNumber, 4);
    c.MatrixSegments = MatrixSegmentsFromText(ini.ReadString(Global, "MatrixSegments", ""));
    c.ChannelSize = InRangeOr(ini.ReadInteger(Global, "ChannelSize", 4), MinChannelSize, MaxNumber, 4);

    c.Cost = MoneyFromFloat(ini.ReadFloat(Stakes, "Cost", 0));
    c.MaxStake = ini.ReadInteger(Stakes, "MaxStake", 12);
    const int rows = ini.ReadInteger(Stakes, "Profits", 0);
    c.Profits.clear();
    for (int i = 0; i < rows && i < 256; ++i) {
        TProfitEntry e;
        e.Overlap = ByteOrZero(ini.ReadInteger(Stakes, Format("Profit_%d_Overlap", i), 0));
        e.Profit = MoneyFromFloat(ini.ReadFloat(Stakes, Format("Profit_%d_Profit", i), 0));
        c.Profits.push_back(e);
    }

    c.CoefCount = ini.ReadFloat(Cdl, "Count", 0);
    c.CoefDeviation = ini.ReadFloat(Cdl, "Deviation", -1);
    c.CoefLevel = ini.ReadFloat(Cdl, "Level", 1);
    c.UsePercents = ini.ReadInteger(Cdl, "UsePercents", 0) > 0;
    c.UseAbsValues = ini.ReadInteger(Cdl, "UseAbsValues", 0) > 0;
}

void WriteConfigGroup(TIniFile& ini, const TConfigData& c) {
    ini.WriteInteger(Global, "MatrixCols", c.MatrixCols);
    ini.WriteString(Global, "MatrixSegments", MatrixSegmentsToText(c.MatrixSegments));
    ini.WriteInteger(Global, "ChannelSize", c.ChannelSize);

    ini.WriteFloat(Stakes, "Cost", MoneyToFloat(c.Cost));
    ini.WriteInteger(Stakes, "MaxStake", c.MaxStake);
    ini.WriteInteger(Stakes, "Profits", static_cast<int>(c.Profits.size()));
    for (std::size_t i = 0; i < c.Profits.size(); ++i) {
        const int row = static_cast<int>(i);
        ini.WriteInteger(Stakes, Format("Profit_%d_Overlap", row), c.Profits[i].Overlap);
        ini.WriteFloat(Stakes, Format("Profit_%d_Profit", row), MoneyToFloat(c.Profits[i].Profit));
    }

    ini.WriteFloat(Cdl, "Count", c.CoefCount);
    ini.WriteFloat(Cdl, "Deviation", c.CoefDeviation);
    ini.WriteFloat(Cdl, "Level", c.CoefLevel);
    ini.WriteBool(Cdl, "UsePercents", c.UsePercents);
    ini.WriteBool(Cdl, "UseAbsValues", c.UseAbsValues);
}

void ReadGenerateGroup(const TIniFile& ini, TGenerateDefaults& d) {
    d.Mode = ini.ReadInteger(Global, "CombsGenerateMode", 0);
    d.Parameters = CutCharacters(ini.ReadString(Global, "CombsGenerateParameters", ""), 255);
}

void WriteGenerateGroup(TIniFile& ini, const TGenerateDefaults& d) {
    ini.WriteInteger(Global, "CombsGenerateMode", d.Mode);
    ini.WriteString(Global, "CombsGenerateParameters", CutCharacters(d.Parameters, 255));
}

void ReadShreddingGroup(const TIniFile& ini, TShreddingSettings& s) {
    const TShreddingSettings defaults;
    for (int i = 0; i < 3; ++i) {
        s.Formulas[i] = ini.ReadString(Shredding, Format("Formula%d", i + 1), defaults.Formulas[i]);
        // The formula dialog offers 1..5 digits; anything else edited into the file
        // would shred to nothing (0) or past what a value can hold.
        s.Digits[i] = static_cast<uint8_t>(
            InRangeOr(ini.ReadInteger(Shredding, Format("Formula%dDigits", i + 1), defaults.Digits[i]),
                      MinShredDigits, MaxShredDigits, defaults.Digits[i]));
    }
}

void WriteShreddingGroup(TIniFile& ini, const TShreddingSettings& s) {
    for (int i = 0; i < 3; ++i) {
        ini.WriteString(Shredding, Format("Formula%d", i + 1), s.Formulas[i]);
        ini.WriteInteger(Shredding, Format("Formula%dDigits", i + 1), s.Digits[i]);
    }
}

void ReadProxyGroup(const TIniFile& ini, TProxy& p) {
    p.Server = ini.ReadString(Proxy, "ProxyServer", "");
    p.Port = ini.ReadInteger(Proxy, "ProxyPort", 80);
    p.UserName = ini.ReadString(Proxy, "ProxyUsername", "");
    p.Password = ini.ReadString(Proxy, "ProxyPassword", "");
    const int mode = ini.ReadInteger(Proxy, "ProxyMode", p.Server.empty() ? 0 : 2);
    p.Mode = mode >= 0 && mode <= 2 ? static_cast<uint8_t>(mode) : 0;
    p.Loaded = true;
}

void WriteProxyGroup(TIniFile& ini, const TProxy& p) {
    ini.WriteString(Proxy, "ProxyServer", p.Server);
    ini.WriteInteger(Proxy, "ProxyPort", p.Port);
    ini.WriteString(Proxy, "ProxyUsername", p.UserName);
    ini.WriteString(Proxy, "ProxyPassword", p.Password);
    ini.WriteInteger(Proxy, "ProxyMode", p.Mode);
}

} // namespace kumby

#pragma once

// The main settings file: four groups of keys, each read and written as a whole.

#include "io/IniFile.h"
#include "model/Records.h"

#include <array>
#include <string>
#include <vector>

namespace kumby {

inline constexpr const char* MainSettingsFileName = "Kumby_12x24.ini";

struct TGenerateDefaults {
    int Mode = 0;
    std::string Parameters; // at most 255 characters kept
};

struct TProxy {
    uint8_t Mode = 0; // 0 none, 1 automatic, 2 the configured proxy
    std::string Server;
    int Port = 80;
    std::string UserName;
    std::string Password;
    bool Loaded = false;
    std::vector<std::string> Found; // proxies found by the automatic search
};

// The narrowest channel the settings offer.
inline constexpr int MinChannelSize = 2;

// GLOBAL MatrixCols/MatrixSegments/ChannelSize, STAKES and CDL.
void ReadConfigGroup(const TIniFile& ini, TConfigData& config);
void WriteConfigGroup(TIniFile& ini, const TConfigData& config);

// GLOBAL CombsGenerateMode/CombsGenerateParameters.
void ReadGenerateGroup(const TIniFile& ini, TGenerateDefaults& defaults);
void WriteGenerateGroup(TIniFile& ini, const TGenerateDefaults& defaults);

// Digits a shredding formula keeps, as the formula dialog offers them.
inline constexpr int MinShredDigits = 1;
inline constexpr int MaxShredDigits = 5;

void ReadShreddingGroup(const TIniFile& ini, TShreddingSettings& shredding);
void WriteShreddingGroup(TIniFile& ini, const TShreddingSettings& shredding);

void ReadProxyGroup(const TIniFile& ini, TProxy& proxy);
void WriteProxyGroup(TIniFile& ini, const TProxy& proxy);

} // namespace kumby

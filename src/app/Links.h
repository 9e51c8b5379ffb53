#pragma once

#include <QLatin1StringView>

// Every web address the program opens or writes, in one place. The maker's
// web server hosts the brand site, the online help and the updater's files.
namespace Links {

#define KH_MAKER_SERVER "https://www.uferwacht.example"

// The maker's web server.
inline constexpr QLatin1StringView Server { KH_MAKER_SERVER };

// Brand site behind the middle banner of the main window (Image2).
inline constexpr QLatin1StringView BrandSite { KH_MAKER_SERVER "/" };
// Partner sites behind the left (Image1) and right (Image3) banners.
inline constexpr QLatin1StringView PartnerSite1 { "https://www.angelgeraete-nordufer.example/" };
inline constexpr QLatin1StringView PartnerSite2 { "https://www.koederwerk.example/" };

// Online help ("?" -> "Onlinehilfe anzeigen").
inline constexpr QLatin1StringView OnlineHelp { KH_MAKER_SERVER "/kescherheft_help/index.html" };

// Updater: version file and the two installer files.
inline constexpr QLatin1StringView UpdateVersionFile { KH_MAKER_SERVER
    "/update/fisch/update2.txt" };
inline constexpr QLatin1StringView SetupExe { KH_MAKER_SERVER "/files/Setup.exe" };
inline constexpr QLatin1StringView Setup2 { KH_MAKER_SERVER "/files/Setup.2" };

// Link behind the banner at the foot of the printed front page.
inline constexpr QLatin1StringView ReportBannerLink = BrandSite;
// The maker's own site, linked with the brand's at the foot of the printed lists.
inline constexpr QLatin1StringView MakerSite { "https://www.kieselwerk.example/" };

#undef KH_MAKER_SERVER

} // namespace Links

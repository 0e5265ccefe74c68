#pragma once

// The Windows Chinese face names that reports and windows ask for ("宋体",
// "黑体", "楷体_GB2312", ...) resolve to the installed Chinese fonts, so a
// report looks the same whichever program (with windows or without) paints it.
namespace ReportFonts {

// Font substitutions for every Windows Chinese face name the programs use.
void InstallSubstitutions();

} // namespace ReportFonts

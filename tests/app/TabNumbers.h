// The numbers by which the tests choose the program's tab sets (cells of the big-button column)
// and their tabs, as a child picks them.
#pragma once

#include <cstdint>

namespace apptest {

// The tab-set selector's cells.
inline constexpr int16_t kPagesSet = 28;
inline constexpr int16_t kPicturesSet = 29;
inline constexpr int16_t kPaintSoundSet = 30;
inline constexpr int16_t kLinksSet = 31;
inline constexpr int16_t kPlaySet = 32;

// My Pages: the project's pages, the samples and a new page.
inline constexpr int16_t kMyPagesTab = 4;
inline constexpr int16_t kSamplesTab = 5;
inline constexpr int16_t kNewPageTab = 6;
// Pictures: the page's backgrounds and the pictures to place.
inline constexpr int16_t kBackgroundsTab = 9;
inline constexpr int16_t kPicturesTab = 11;
// Paint & Sound.
inline constexpr int16_t kPageTab = 13;
inline constexpr int16_t kWriteTab = 14;
inline constexpr int16_t kPaintTab = 15;
inline constexpr int16_t kRecordTab = 16;
inline constexpr int16_t kMailLinkTab = 17;
// Links.
inline constexpr int16_t kLinkToPageTab = 19;
inline constexpr int16_t kCoolSitesTab = 21;
// Play & Publish.
inline constexpr int16_t kBackTab = 24;
inline constexpr int16_t kHomeTab = 26;

} // namespace apptest

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QSize>

#include <array>

// Every picture the windows show, at its size in device-independent pixels, and the windows'
// icons with the sides each is drawn at. The build reads this list as well (ui/CMakeLists.txt),
// to draw every entry ahead of time at 100 % and 200 % display scale: keep its entries in the
// form {"name", {width, height}}.
struct ListedPicture
{
    const char *name;
    QSize size;
};

inline constexpr std::array ListedPictures{
    ListedPicture{"tile_blue", {50, 50}},    ListedPicture{"tile_red", {50, 50}},
    ListedPicture{"btn_new", {100, 20}},     ListedPicture{"btn_help", {100, 20}},
    ListedPicture{"btn_records", {100, 20}}, ListedPicture{"btn_exit", {100, 20}},
    ListedPicture{"trophy", {97, 153}},      ListedPicture{"face", {40, 40}},
};

inline constexpr std::array WindowIcons{"face", "column", "question"};
inline constexpr std::array WindowIconSides{16, 24, 32, 48, 64};

// The captions of the play areas, as the setup window's options show them.
#pragma once

#include <array>

namespace kisharin {

inline constexpr std::array<const char*, 9> kAreaCaptions = {
    "日本全国版", "北海道版", "東北版", "関東版", "中部版", "近畿版", "中国版", "四国版", "九州版"};

// The caption of play area 0..8 ("日本全国版" … "九州版"); "" for any other.
inline const char* areaCaption(int area) {
    return area >= 0 && area <= 8 ? kAreaCaptions[static_cast<std::size_t>(area)] : "";
}

}  // namespace kisharin

#pragma once
// Every Japanese text the system writes, held once as its Shift_JIS
// (code page 932) bytes with the readable text beside it. A test checks each
// pair against the system's character-set converter.

#include <array>
#include <string_view>

namespace hdfe::texts {

struct JapaneseText {
  std::string_view cp932;     // the bytes written
  std::string_view readable;  // the same text in UTF-8, for people and for the test
};

// solver: gear 0 with a positive target speed
inline constexpr JapaneseText kShiftZeroWithSpeed{"\x83V\x83t\x83g\x83[\x83\x8d\x82\xc5\x8e\xd4\x91\xac\x82\xa0\x82\xe8 ",
                                 "シフトゼロで車速あり "};
// results line 8
inline constexpr JapaneseText kFlatTireRadiusLabel{"\x95\xbd\x92R\x98H\x95\xe2\x90\xb3\x97p\x91\xe3\x95\\\x83^\x83" "C\x83\x84\x94\xbc\x8c" "a(m)",
                                 "平坦路補正用代表タイヤ半径(m)"};
// results line 9
inline constexpr JapaneseText kIdleStopLabel{"\x83" "A\x83" "C\x83h\x83\x8b\x83X\x83g\x83" "b\x83v\x81i0:\x82\xc8\x82\xb5\x81" "C1:\x82\xa0\x82\xe8\x81j",
                                 "アイドルストップ（0:なし，1:あり）"};
// results line 10, two trailing blanks
inline constexpr JapaneseText kIdleStopWaitLabel{"\x83G\x83\x93\x83W\x83\x93\x92\xe2\x8e~\x82\xdc\x82\xc5\x82\xcc\x91\xd2\x82\xbf\x8e\x9e\x8a\xd4(s)  ",
                                 "エンジン停止までの待ち時間(s)  "};
// results line 11
inline constexpr JapaneseText kStartIdleStopLabel{"JE05\x83\x82\x81[\x83h\x8aJ\x8en\x8e\x9e\x82\xcc\x83" "A\x83" "C\x83h\x83\x8b\x83X\x83g\x83" "b\x83v\x81i0:\x82\xc8\x82\xb5\x81" "C1:\x82\xa0\x82\xe8\x81j",
                                 "JE05モード開始時のアイドルストップ（0:なし，1:あり）"};
// results line 12
inline constexpr JapaneseText kStartIdleStopTimeLabel{"JE05\x83\x82\x81[\x83h\x8aJ\x8en\x8e\x9e\x82\xcc\x83" "A\x83" "C\x83h\x83\x8b\x83X\x83g\x83" "b\x83v\x8d\xec\x93\xae\x8e\x9e\x8a\xd4(s)",
                                 "JE05モード開始時のアイドルストップ作動時間(s)"};
// results line 13
inline constexpr JapaneseText kEngineStartTimingLabel{"\x8e\xd4\x97\xbc\x94\xad\x90i\x8e\x9e\x82\xcc\x83G\x83\x93\x83W\x83\x93\x8en\x93\xae\x83^\x83" "C\x83~\x83\x93\x83O(s)",
                                 "車両発進時のエンジン始動タイミング(s)"};
// results line 15
inline constexpr JapaneseText kUrbanHeading{"\x81yURBAN\x81z",
                                 "【URBAN】"};
// results line 20
inline constexpr JapaneseText kHighwayHeading{"\x81yHIGHWAY\x81z",
                                 "【HIGHWAY】"};
// results line 24
inline constexpr JapaneseText kAverageHeading{"\x81yAVERAGE\x81z",
                                 "【AVERAGE】"};
// results line 27
inline constexpr JapaneseText kMidTownHeading{"\x81yMID-TOWN\x81z",
                                 "【MID-TOWN】"};
// 16 bytes: ideographic space, five kanji, four blanks
inline constexpr JapaneseText kBeforeTransientLabel{"\x81@\x89\xdf\x93n\x95\xe2\x90\xb3\x91O    ",
                                 "　過渡補正前    "};
// 16 bytes: ideographic space, five kanji, four blanks
inline constexpr JapaneseText kAfterTransientLabel{"\x81@\x89\xdf\x93n\x95\xe2\x90\xb3\x8c\xe3    ",
                                 "　過渡補正後    "};
// one trailing blank, no number follows
inline constexpr JapaneseText kTransientPercentLabel{"3%\x95\xe2\x90\xb3 ",
                                 "3%補正 "};
// 16 bytes: ideographic space, Kf, three kanji, six blanks
inline constexpr JapaneseText kKfConsideredLabel{"\x81@Kf\x92l\x8dl\x97\xb6      ",
                                 "　Kf値考慮      "};
// 16 bytes: seven blanks, ideographic space, seven blanks
inline constexpr JapaneseText kCentredBlankLabel{"       \x81@       ",
                                 "       　       "};

inline constexpr std::array kAll{kShiftZeroWithSpeed, kFlatTireRadiusLabel, kIdleStopLabel, kIdleStopWaitLabel, kStartIdleStopLabel, kStartIdleStopTimeLabel, kEngineStartTimingLabel, kUrbanHeading, kHighwayHeading, kAverageHeading, kMidTownHeading, kBeforeTransientLabel, kAfterTransientLabel, kTransientPercentLabel, kKfConsideredLabel, kCentredBlankLabel};

}  // namespace hdfe::texts

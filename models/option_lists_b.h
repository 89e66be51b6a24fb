// Profile B's lists: the speeds differ from variant to variant; density and head voltage are "0".."9"
// everywhere.
#pragma once

#define KT_DIGITS_B                                                                                          \
    {                                                                                                        \
        TEXT("0"), TEXT("1"), TEXT("2"), TEXT("3"), TEXT("4"), TEXT("5"), TEXT("6"), TEXT("7"), TEXT("8"),   \
            TEXT("9")                                                                                        \
    }

inline constexpr OPTIONLISTS kOptionLists[] = {
    // variant 0
    {{TEXT(" 80"), TEXT("100"), TEXT("120"), TEXT("150"), TEXT("180"), TEXT("200"), TEXT("220"), TEXT("250")},
     KT_DIGITS_B,
     KT_DIGITS_B},
    // variant 1
    {{TEXT(" 80"), TEXT(" 90"), TEXT("100"), TEXT("110"), TEXT("120"), TEXT("130"), TEXT("140"), TEXT("150")},
     KT_DIGITS_B,
     KT_DIGITS_B},
    // variant 2
    {{TEXT(" 60"), TEXT(" 70"), TEXT(" 80"), TEXT("100"), TEXT("110"), TEXT("120"), TEXT("140"), TEXT("160")},
     KT_DIGITS_B,
     KT_DIGITS_B},
    // variant 3
    {{TEXT(" 60"), TEXT(" 70"), TEXT(" 80"), TEXT(" 90"), TEXT("100"), TEXT("110"), TEXT("120"), TEXT("130")},
     KT_DIGITS_B,
     KT_DIGITS_B},
    // variant 4
    {{TEXT(" 40"), TEXT(" 50"), TEXT(" 60"), TEXT(" 70"), TEXT(" 80"), TEXT(" 90"), TEXT("100"), TEXT("120")},
     KT_DIGITS_B,
     KT_DIGITS_B},
    // variant 5
    {{TEXT(" 80"), TEXT("100"), TEXT("120"), TEXT("150"), TEXT("180"), TEXT("200"), TEXT("220"), TEXT("250")},
     KT_DIGITS_B,
     KT_DIGITS_B},
    // variant 6
    {{TEXT(" 60"), TEXT(" 70"), TEXT(" 80"), TEXT("100"), TEXT("110"), TEXT("120"), TEXT("140"), TEXT("160")},
     KT_DIGITS_B,
     KT_DIGITS_B},
    // variant 7
    {{TEXT(" 60"), TEXT(" 70"), TEXT(" 80"), TEXT("100"), TEXT("120"), TEXT("150"), TEXT("180"), TEXT("200"),
      TEXT("220")},
     KT_DIGITS_B,
     KT_DIGITS_B},
    // variant 8
    {{TEXT(" 40"), TEXT(" 50"), TEXT(" 60"), TEXT(" 70"), TEXT(" 80"), TEXT(" 90"), TEXT("100"), TEXT("120")},
     KT_DIGITS_B,
     KT_DIGITS_B},
    // variant 9
    {{TEXT(" 40"), TEXT(" 50"), TEXT(" 60"), TEXT(" 70"), TEXT(" 80"), TEXT(" 90"), TEXT("100")},
     KT_DIGITS_B,
     KT_DIGITS_B},
};
#undef KT_DIGITS_B

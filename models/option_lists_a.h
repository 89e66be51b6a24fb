// Profile A's lists: the same for both variants.
#pragma once

#define KT_SPEEDS_A                                                                                          \
    { TEXT(" 60"), TEXT(" 80"), TEXT("100"), TEXT("120"), TEXT("150") }
#define KT_DENSITIES_A                                                                                       \
    {                                                                                                        \
        TEXT(" 1"), TEXT(" 2"), TEXT(" 3"), TEXT(" 4"), TEXT(" 5"), TEXT(" 6"), TEXT(" 7"), TEXT(" 8"),      \
            TEXT(" 9"), TEXT("10"), TEXT("11"), TEXT("12"), TEXT("13"), TEXT("14"), TEXT("15"), TEXT("16"),  \
            TEXT("17"), TEXT("18"), TEXT("19"), TEXT("20"), TEXT("21"), TEXT("22"), TEXT("23"), TEXT("24"),  \
            TEXT("25"), TEXT("26"), TEXT("27"), TEXT("28"), TEXT("29"), TEXT("30")                           \
    }
#define KT_VOLTAGES_A                                                                                        \
    {                                                                                                        \
        TEXT("20.0"), TEXT("20.5"), TEXT("21.0"), TEXT("21.5"), TEXT("22.0"), TEXT("22.5"), TEXT("23.0"),    \
            TEXT("23.5"), TEXT("24.0")                                                                       \
    }

inline constexpr OPTIONLISTS kOptionLists[] = {
    {KT_SPEEDS_A, KT_DENSITIES_A, KT_VOLTAGES_A},
    {KT_SPEEDS_A, KT_DENSITIES_A, KT_VOLTAGES_A},
};
#undef KT_SPEEDS_A
#undef KT_DENSITIES_A
#undef KT_VOLTAGES_A

#include "device_options.h"

const OPTIONLISTS& GetOptionLists(const DRVDEVMODE* rec) {
    const LONG index = rec->Private.ModelIndex;
    return kOptionLists[index >= 0 && index < kVariantCount ? index : 0];
}

void RestoreDeviceDefaults(LABELVALUES& values) {
    values.Dithering = 3;
    values.Compress = 1;
    values.BandSplit = 0;
    values.QuantityCommand = 0;
    values.PrintSettingsEnabled = 0;
    values.PrintSpeed = 2;
#if defined(KT_PROFILE_A)
    values.Density1 = 15;
    values.Density2 = 15;
    values.HeadVoltage1 = 5;
    values.HeadVoltage2 = 5;
    values.HeadColor1 = 0x00000000;
    values.HeadColor2 = 0x000000FF;
#else
    values.Density1 = 5;
    values.HeadVoltage1 = 5;
#endif
}

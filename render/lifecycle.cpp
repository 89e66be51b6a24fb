#include "lifecycle.h"

void LifecycleHook(PDEV* pdev, DRVDEVMODE*, LifecycleStage stage) {
    switch (stage) {
    case STAGE_PDEV_ENABLED:
        pdev->Suppress = 0;
        break;
    case STAGE_SURFACE_ENABLED:
        // Whether the print processor can carry out what the settings leave to it is not asked yet, so
        // output stays on: the printer makes what the job asks of it.
        break;
    default:
        break;
    }
}

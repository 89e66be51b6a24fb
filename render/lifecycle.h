// One hook that the device, surface, document and page calls report to, by stage.
#pragma once

#include "pdev.h"

enum LifecycleStage : int {
    STAGE_PDEV_ENABLED = 1,
    STAGE_PDEV_DISABLED = 2,
    STAGE_DOCUMENT_END = 3,
    STAGE_PAGE_START = 4,
    STAGE_SURFACE_ENABLED = 5,
    STAGE_SURFACE_DISABLED = 6,
};

void LifecycleHook(PDEV* pdev, DRVDEVMODE* rec, LifecycleStage stage);

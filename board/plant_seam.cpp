#include "board/plant_seam.h"

std::atomic<const CPlantSeam*> g_pPlant{nullptr};

#include "graphics/GxDisplaySettings.h"

GxDisplaySettings& GxDisplaySettings::Get()
{
    static GxDisplaySettings s_Settings;
    return s_Settings;
}

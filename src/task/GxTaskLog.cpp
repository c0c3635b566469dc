#include "task/GxTaskLog.h"

uint32_t GxTaskLog::s_ErrorCount = 0;

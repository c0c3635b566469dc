#include "adventure/SeqAvgLog.h"

SeqAvgLog::SeqAvgLog(GxTaskBase* parent) : GxSeqBase(parent, L"SeqAvgLog") {}

SeqAvgLog::~SeqAvgLog() = default;

#include "adventure/SeqConfig.h"

SeqConfig::SeqConfig(GxTaskBase* parent) : GxSeqBase(parent, L"SeqConfig") {}

SeqConfig::~SeqConfig() = default;

#include "adventure/SeqRPMode.h"

SeqRPMode::SeqRPMode(GxTaskBase* parent) : GxSeqBase(parent, L"SeqRPMode") {}

SeqRPMode::~SeqRPMode() = default;

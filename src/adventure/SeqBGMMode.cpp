#include "adventure/SeqBGMMode.h"

SeqBGMMode::SeqBGMMode(GxTaskBase* parent) : GxSeqBase(parent, L"SeqBGMMode") {}

SeqBGMMode::~SeqBGMMode() = default;

#include "adventure/SeqTitle.h"

SeqTitle::SeqTitle(GxTaskBase* parent) : GxSeqBase(parent, L"SeqTitle") {}

SeqTitle::~SeqTitle() = default;

#include "adventure/SeqQuickLoad.h"

SeqQuickLoad::SeqQuickLoad(GxTaskBase* parent) : GxSeqBase(parent, L"SeqQuickLoad") {}

SeqQuickLoad::~SeqQuickLoad() = default;

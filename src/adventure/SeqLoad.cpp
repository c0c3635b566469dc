#include "adventure/SeqLoad.h"

SeqLoad::SeqLoad(GxTaskBase* parent) : GxSeqBase(parent, L"SeqLoad") {}

SeqLoad::~SeqLoad() = default;

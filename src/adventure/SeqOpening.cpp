#include "adventure/SeqOpening.h"

SeqOpening::SeqOpening(GxTaskBase* parent) : GxSeqBase(parent, L"SeqOpening") {}

SeqOpening::~SeqOpening() = default;

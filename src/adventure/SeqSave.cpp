#include "adventure/SeqSave.h"

SeqSave::SeqSave(GxTaskBase* parent) : GxSeqBase(parent, L"SeqSave") {}

SeqSave::~SeqSave() = default;

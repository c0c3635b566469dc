#include "adventure/SeqBoot.h"

SeqBoot::SeqBoot(GxTaskBase* parent) : GxSeqBase(parent, L"SeqBoot") {}

SeqBoot::~SeqBoot() = default;

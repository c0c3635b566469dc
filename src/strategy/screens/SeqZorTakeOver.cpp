#include "strategy/screens/SeqZorTakeOver.h"

SeqZorTakeOver::SeqZorTakeOver(GxTaskBase* parent) : GxSeqBase(parent, L"SeqZorTakeOver") {}

SeqZorTakeOver::~SeqZorTakeOver() = default;

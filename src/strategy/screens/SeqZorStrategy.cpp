#include "strategy/screens/SeqZorStrategy.h"

SeqZorStrategy::SeqZorStrategy(GxTaskBase* parent) : GxSeqBase(parent, L"SeqZorStrategy") {}

SeqZorStrategy::~SeqZorStrategy() = default;

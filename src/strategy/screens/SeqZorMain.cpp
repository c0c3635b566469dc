#include "strategy/screens/SeqZorMain.h"

SeqZorMain::SeqZorMain(GxTaskBase* parent) : GxSeqBase(parent, L"SeqZorMain") {}

SeqZorMain::~SeqZorMain() = default;

#include "strategy/screens/SeqZorInvMain.h"

SeqZorInvMain::SeqZorInvMain(GxTaskBase* parent) : GxSeqBase(parent, L"SeqZorInvMain") {}

SeqZorInvMain::~SeqZorInvMain() = default;

#include "adventure/SeqAvgMain.h"

SeqAvgMain::SeqAvgMain(GxTaskBase* parent) : GxSeqBase(parent, L"SeqAvgMain") {}

SeqAvgMain::~SeqAvgMain() = default;

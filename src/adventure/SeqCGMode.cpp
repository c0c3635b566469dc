#include "adventure/SeqCGMode.h"

SeqCGMode::SeqCGMode(GxTaskBase* parent) : GxSeqBase(parent, L"SeqCGMode") {}

SeqCGMode::~SeqCGMode() = default;

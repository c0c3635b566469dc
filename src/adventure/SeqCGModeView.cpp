#include "adventure/SeqCGModeView.h"

SeqCGModeView::SeqCGModeView(GxTaskBase* parent) : GxSeqBase(parent, L"SeqCGModeView") {}

SeqCGModeView::~SeqCGModeView() = default;

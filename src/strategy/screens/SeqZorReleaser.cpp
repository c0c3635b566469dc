#include "strategy/screens/SeqZorReleaser.h"

SeqZorReleaser::SeqZorReleaser(GxTaskBase* parent) : GxSeqBase(parent, L"SeqZorReleaser") {}

SeqZorReleaser::~SeqZorReleaser() = default;

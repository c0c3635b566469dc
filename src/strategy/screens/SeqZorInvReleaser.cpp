#include "strategy/screens/SeqZorInvReleaser.h"

SeqZorInvReleaser::SeqZorInvReleaser(GxTaskBase* parent) : GxSeqBase(parent, L"SeqZorInvReleaser") {}

SeqZorInvReleaser::~SeqZorInvReleaser() = default;

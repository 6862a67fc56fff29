#pragma once
// How the media engine has GStreamer decode sound: the lighter decoder where two are ranked
// alike, and decoded sound handed on in batches instead of frame by frame.

namespace gui {

// Prefers GStreamer's mpg123 decoder for MP3; called before GStreamer starts (it reads the
// ranks once).
void preferLeanDecoders();

// Once GStreamer has started: every audio decoder that a pipeline adds afterwards hands on
// its sound in batches of kDecodedBatchMs. Safe to call more than once.
void batchDecodedSound();

constexpr int kDecodedBatchMs = 100;

} // namespace gui

// Anchors the library; the front panel arithmetic lives in the files beside it.

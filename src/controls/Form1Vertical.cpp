#include "app/TForm1.h"

void TForm1::BuildVerticalControls() {}

void TForm1::BuildTimeBase() {}

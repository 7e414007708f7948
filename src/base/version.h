/* The version of Corvid, for the program and its resources alike (this file
   is read by the resource compiler too: macros only). */
#pragma once
#define CORVID_VERSION_TEXT "0.997"
#define CORVID_VERSION_NUMBERS 0, 997, 0, 0

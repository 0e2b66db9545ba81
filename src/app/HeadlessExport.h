#pragma once

// `varn --export-pdf [--data DIR] [--paper a4|letter] IN.vrn OUT.pdf`: the laid-out
// character sheet as a PDF file, with no window and no display server (Qt's offscreen
// platform is chosen unless another one is set). Messages go to standard error as varn-tool
// writes them; exit status 0, 1 when the data, the character or the PDF fails, 2 for a
// usage error.
int RunHeadlessExport(int argc, char** argv);

// True when the command line asks for it (its first argument is --export-pdf).
bool IsHeadlessExport(int argc, char** argv);

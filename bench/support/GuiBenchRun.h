#pragma once
// The steps of a benchmark program's entry once the platform is chosen: an application, then the
// benchmarks the command line selects.
int RunGuiBenchmarks(int argc, char **argv);

// Writes the benchmarks' hundredfold synthetic data set into the folder given (ending in "/").
#include "SyntheticDataSet.h"

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    varn_bench::GenerateDataSet(argv[1], 100);
    return 0;
}

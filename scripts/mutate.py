#!/usr/bin/python3
"""trelvik-mutate: mutation testing of firmware/ with scenario files (see
the README's "Mutation testing"); `scripts/mutate.py --help`."""

import os
import sys

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "mutate"))
from main import main  # noqa: E402

if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

"""Packs the plugin and a stripped vantrel-cli beside it into a zip that QGIS installs through
Plugins > Manage and Install Plugins > Install from ZIP.
Usage: make_zip.py VANTREL_CLI ZIP"""

import os
import pathlib
import subprocess
import sys
import tempfile
import zipfile

tool, target = sys.argv[1:]
plugin = pathlib.Path(__file__).resolve().parent / "vantrel"
with tempfile.TemporaryDirectory() as folder:
    stripped = pathlib.Path(folder) / "vantrel-cli"
    subprocess.run(["strip", "-o", str(stripped), tool], check=True)
    # Written under another name and renamed, so that a failure leaves no half-written zip.
    partial = target + ".partial"
    with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED) as archive:
        for path in sorted(plugin.rglob("*")):
            if path.is_file() and "__pycache__" not in path.parts:
                archive.write(path, path.relative_to(plugin.parent))
        archive.write(stripped, "vantrel/vantrel-cli")
    os.replace(partial, target)
print(f"{target}: install it in QGIS through Plugins > Manage and Install Plugins > Install from ZIP")

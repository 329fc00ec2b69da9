"""The kova_rules package: python/kova_rules/ with the native module that
the project's CMake build makes (target kova_rules_python).

The build happens in a CMake build folder, KOVA_BUILD_DIR or build/ in
the source tree by default, configured for Release when it has not been
configured yet. Only the module's target is built, so where the tree's
own Release build has made everything already (make build), installing
compiles nothing. The version is the CMake project's, which kova
--version prints too."""
import os
import pathlib
import re
import shutil
import subprocess
import sys
import sysconfig

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

SOURCE = pathlib.Path(__file__).resolve().parent
BUILD = pathlib.Path(os.environ.get("KOVA_BUILD_DIR", SOURCE / "build")).resolve()
TARGET = "kova_rules_python"


def project_version():
    """The VERSION of the top CMakeLists' project() call."""
    text = (SOURCE / "CMakeLists.txt").read_text()
    match = re.search(r"^project\(\s*\w+\s+VERSION\s+([0-9.]+)", text, re.MULTILINE)
    if not match:
        sys.exit("setup.py: no project version in CMakeLists.txt")
    return match.group(1)


def interpreter():
    """The interpreter outside any venv, which outlives a temporary venv
    and is the one the build folder keeps in its cache."""
    return getattr(sys, "_base_executable", None) or sys.executable


def cmake(*arguments):
    print("setup.py: cmake " + " ".join(arguments), flush=True)
    subprocess.run(["cmake", *arguments], check=True)


class CMakeBuild(build_ext):
    """Builds the native module with CMake and copies it where setuptools
    packs the extension."""

    def build_extension(self, ext):
        if not (BUILD / "CMakeCache.txt").exists():
            cmake("-S", str(SOURCE), "-B", str(BUILD), "-DCMAKE_BUILD_TYPE=Release",
                  f"-DPython3_EXECUTABLE={interpreter()}")
        cmake("--build", str(BUILD), "--target", TARGET, "-j", os.environ.get("KOVA_JOBS", "2"))
        suffix = sysconfig.get_config_var("EXT_SUFFIX")
        built = BUILD / "python" / "kova_rules" / ("_native" + suffix)
        if not built.exists():
            sys.exit(f"setup.py: {built} was not built: the build folder's interpreter is not this one "
                     f"({sys.executable}); name another folder with KOVA_BUILD_DIR")
        destination = pathlib.Path(self.get_ext_fullpath(ext.name))
        destination.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(built, destination)
        # The shared libraries the build laid beside the module, which
        # finds them in its own folder.
        for library in built.parent.glob("lib*.so*"):
            shutil.copyfile(library, destination.parent / library.name)


# setuptools' own work files go under the CMake build folder, not into
# the source tree.
WORK = BUILD / "python-package"
WORK.mkdir(parents=True, exist_ok=True)
setup(
    version=project_version(),
    packages=["kova_rules"],
    package_dir={"": "python"},
    package_data={"kova_rules": ["py.typed", "*.pyi"]},
    ext_modules=[Extension("kova_rules._native", sources=[])],
    cmdclass={"build_ext": CMakeBuild},
    options={"build": {"build_base": str(WORK)}, "egg_info": {"egg_base": str(WORK)}},
    zip_safe=False,
)

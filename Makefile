# The two commands of the README:
#   make run    installs what is missing, builds, and starts ZEL on the sample
#               drawing with the simulated machine and the machine folder
#               (made from the sample the first time)
#   make test   installs what is missing, builds, and runs every test, then
#               builds and runs them again under the address and undefined
#               behaviour sanitizers (make sanitize: that pass alone)
#   make package  builds the Debian package $(BUILD)/zel_<version>_<arch>.deb
#   make windows  cross-builds zel.exe for Windows (MinGW-w64) in $(WINDOWS_BUILD),
#                 with the installer zel-7.0-win64.exe and the portable zip
#   make test-windows  the same, then every Windows test under Wine
BUILD ?= build
WINDOWS_BUILD ?= build-windows
SANITIZE_BUILD ?= build-asan
MACHINE ?= $(HOME)/zel-machine
JOBS ?= $(shell nproc)

.PHONY: run test build sanitize deps machine package clean windows test-windows

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DZEL_WERROR=ON
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) sanitize

# The fuzz run has sanitizers of its own and is not repeated here.
sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -DZEL_WERROR=ON -DZEL_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && ctest --output-on-failure -j $(JOBS)

package: build
	cmake --build $(BUILD) --target package

machine:
	@scripts/machine-folder.sh examples/machine $(MACHINE)

run: build machine
	$(BUILD)/zel --dir $(MACHINE) --simulate examples/drawings/letters.dxf

windows:
	@scripts/install-deps.sh windows
	cmake -S . -B $(WINDOWS_BUILD) --toolchain cmake/mingw-w64.cmake -DZEL_WERROR=ON \
	      -DZEL_LINUX_BUILD=$(abspath $(BUILD))
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)
	cd $(WINDOWS_BUILD) && cpack -G "NSIS;ZIP"

# The desktop test compares zel.exe with the Linux program of $(BUILD).
test-windows: build windows
	cd $(WINDOWS_BUILD) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(WINDOWS_BUILD)

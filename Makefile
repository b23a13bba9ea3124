# The two commands of the README:
#   make run    installs what is missing, builds, and starts ZEL on the sample
#               drawing with the simulated machine and the machine folder
#               (made from the sample the first time)
#   make test   installs what is missing, builds, and runs every test
#   make package  builds the Debian package $(BUILD)/zel_<version>_<arch>.deb
BUILD ?= build
MACHINE ?= $(HOME)/zel-machine
JOBS ?= $(shell nproc)

.PHONY: run test build deps machine package clean

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DZEL_WERROR=ON
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

package: build
	cmake --build $(BUILD) --target package

machine:
	@scripts/machine-folder.sh examples/machine $(MACHINE)

run: build machine
	$(BUILD)/zel --dir $(MACHINE) --simulate examples/drawings/letters.dxf

clean:
	rm -rf $(BUILD)

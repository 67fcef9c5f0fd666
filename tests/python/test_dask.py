"""The module on Dask workers in other processes: the solve and its records travel between
processes (the function by reference to the module, which each worker imports; the records as
plain dicts), and the workers' records are solve_many's."""

import os

import pytest

import cube_solver

distributed = pytest.importorskip(
    "distributed", reason="Dask's distributed (Debian's python3-distributed) is not installed")
# Debian's tornado warns of its own use of asyncio, nothing of this test's.
pytestmark = pytest.mark.filterwarnings("ignore:make_current is deprecated:DeprecationWarning")


def without_seconds(record):
    """A record without its wall times (its own and its logbook rows')."""
    record = {key: value for key, value in record.items() if key != "seconds"}
    if "log" in record:
        record["log"] = [without_seconds(row) for row in record["log"]]
    return record


def test_two_worker_processes_give_the_records_of_solve_many():
    requests = [{"scramble": "R U2 F'", "seed": 1, "generations": 30, "stop_at_goal": True},
                {"random": 10, "seed": 2, "generations": 30, "stop_at_goal": True},
                {"scramble": "L D2 B", "seed": 3, "generations": 30, "stop_at_goal": True,
                 "log": True},
                {"random": 8, "seed": 4, "generations": 30, "stop_at_goal": True}]
    with distributed.LocalCluster(n_workers=2, processes=True, threads_per_worker=1,
                                  host="127.0.0.1", dashboard_address=None) as cluster, \
            distributed.Client(cluster) as client:
        futures = client.map(lambda request: cube_solver.solve(**request), requests)
        records = client.gather(futures)
        workers = set(client.run(os.getpid).values())
    assert len(workers) == 2 and os.getpid() not in workers
    expected = cube_solver.solve_many(requests, jobs=1)
    assert [without_seconds(r) for r in records] == [without_seconds(r) for r in expected]

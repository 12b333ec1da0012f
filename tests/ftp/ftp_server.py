#!/usr/bin/python3
"""A real FTP server for the tests: pyftpdlib on 127.0.0.1 with a free port, which it prints.
Usage: ftp_server.py ROOT. User "tester", password "secret"; ROOT/readonly takes no writes."""
import logging
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

root = sys.argv[1]
os.makedirs(os.path.join(root, "readonly"), exist_ok=True)
authorizer = DummyAuthorizer()
authorizer.add_user("tester", "secret", root, perm="elradfmw")
authorizer.override_perm("tester", os.path.join(root, "readonly"), perm="elr", recursive=True)
handler = FTPHandler
handler.authorizer = authorizer
handler.permit_foreign_addresses = False
logging.basicConfig(level=logging.CRITICAL)
server = FTPServer(("127.0.0.1", 0), handler)
print(server.socket.getsockname()[1], flush=True)
server.serve_forever(timeout=0.5)

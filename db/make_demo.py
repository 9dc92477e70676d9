#!/usr/bin/env python3
"""Writes db/demo.sql: the demo data of a facilities and staffing company.

Three branches, their services and shifts, about 300 clients (persons with a valid CPF,
companies with a valid CNPJ, digits only), a product tree, cost and billing types, and
client-service bindings with value history, shift values, correction intervals and one
replication. The output is deterministic (fixed seed); run this script again after changing
it and commit both files:

    python3 db/make_demo.py > db/demo.sql
"""

import datetime
import random

rng = random.Random(20250601)
DAY_ZERO = datetime.date(1899, 12, 30)
DAYS = ["DOM", "SEG", "TER", "QUA", "QUI", "SEX", "SAB", "FER"]
OPERATORS = ["ADMIN", "MSOUZA", "RALVES", "FCOSTA", "JPEREIRA"]


def day_count(date, hour=0, minute=0):
    return (date - DAY_ZERO).days + (hour * 60 + minute) / 1440.0


def sql(value):
    if value is None:
        return "NULL"
    if isinstance(value, str):
        return "'" + value.replace("'", "''") + "'"
    if isinstance(value, float):
        return repr(round(value, 6))
    return str(value)


def insert(out, table, columns, rows):
    for row in rows:
        out.append(
            f"INSERT INTO {table} ({', '.join(columns)}) VALUES ({', '.join(sql(v) for v in row)});"
        )


# Inscriptions ---------------------------------------------------------------------------------


def cpf_digits(base9):
    digits = [int(c) for c in base9]
    for length in (9, 10):
        total = sum(d * w for d, w in zip(digits, range(length + 1, 1, -1)))
        check = total * 10 % 11
        digits.append(0 if check == 10 else check)
    return "".join(map(str, digits))


def cnpj_digits(base12):
    digits = [int(c) for c in base12]
    for weights in ([5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2], [6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2]):
        rest = sum(d * w for d, w in zip(digits, weights)) % 11
        digits.append(0 if rest < 2 else 11 - rest)
    return "".join(map(str, digits))


# Registers ------------------------------------------------------------------------------------

BRANCHES = [
    ("0001", "São Paulo - Matriz"),
    ("0002", "Campinas"),
    ("0003", "Rio de Janeiro"),
]

SERVICES = [
    ("00001", "Limpeza e conservação", "LMP"),
    ("00002", "Portaria", "SEG"),
    ("00003", "Vigilância patrimonial", "SEG"),
    ("00004", "Recepção", "REC"),
    ("00005", "Jardinagem e paisagismo", "JAR"),
    ("00006", "Manutenção predial", "MAN"),
    ("00007", "Copeiragem", "COP"),
    ("00008", "Limpeza hospitalar", "LMP"),
    ("00009", "Controle de acesso", "SEG"),
    ("00010", "Zeladoria", "MAN"),
]
EXTRA_SERVICES = {
    "0001": [("00011", "Limpeza de fachadas e vidros", "LMP")],
    "0003": [("00011", "Brigada de incêndio", "SEG"), ("00012", "Ascensorista", "REC")],
}

# Monthly value range and proposed volume range per service code.
PRICING = {
    "00001": (3500, 18000, 300, 5000),
    "00002": (6000, 15000, 200, 720),
    "00003": (9000, 30000, 200, 720),
    "00004": (3000, 7000, 100, 440),
    "00005": (1200, 4500, 200, 8000),
    "00006": (2500, 9000, 40, 400),
    "00007": (2800, 5000, 80, 220),
}

SHIFTS = {
    2: [("1", "Diurno"), ("2", "Noturno")],
    3: [("1", "Diurno"), ("2", "Noturno"), ("3", "Integral")],
    4: [("1", "Diurno"), ("2", "Noturno"), ("3", "Integral"), ("4", "Vespertino")],
}

ROOTS = [
    "Alvorada", "Bandeirantes", "Horizonte", "Primavera", "Ipiranga", "Paulista", "Atlântica",
    "Guanabara", "Tietê", "Morumbi", "Jequitibá", "Ipê Amarelo", "Sabiá", "Aurora", "Vale Verde",
    "Serra Azul", "Santa Clara", "São Bento", "Nova Esperança", "Três Rios", "Monte Alegre",
    "Boa Vista", "Jardim Europa", "Cantareira", "Piratininga", "Itapuã", "Copacabana",
    "Botafogo", "Laranjeiras", "Barão de Mauá", "Campos Elíseos", "Taquaral", "Cambuí",
    "Sousas", "Tijuca", "Flamengo", "Mooca", "Vila Mariana", "Pinheiros", "Brooklin",
    "Consolação", "Higienópolis", "Perdizes", "Lapa", "Santana", "Jabaquara", "Anhangabaú",
    "Paineiras", "Cedro", "Araucária",
]

COMPANY_FORMS = [
    ("Condomínio Edifício {r}", "Ed. {r}"),
    ("{r} Comércio de Alimentos Ltda", "Supermercado {r}"),
    ("Hospital {r} S.A.", "Hospital {r}"),
    ("Colégio {r} Ltda", "Colégio {r}"),
    ("{r} Indústria Metalúrgica Ltda", "Metalúrgica {r}"),
    ("Clínica Médica {r} Ltda", "Clínica {r}"),
    ("{r} Administração de Imóveis Ltda", "{r} Imóveis"),
    ("Shopping {r} Empreendimentos S.A.", "Shopping {r}"),
    ("{r} Logística e Transportes Ltda", "{r} Log"),
    ("Hotel {r} Ltda", "Hotel {r}"),
    ("Cooperativa de Crédito {r}", "Sicoop {r}"),
    ("Associação Atlética {r}", "AA {r}"),
    ("{r} Tecnologia da Informação Ltda", "{r} TI"),
    ("Laboratório {r} Análises Clínicas Ltda", "Lab {r}"),
    ("Faculdade {r} de Ciências Ltda", "Faculdade {r}"),
    ("Academia {r} Fitness Ltda", "{r} Fitness"),
    ("Restaurante {r} Ltda", "Restaurante {r}"),
    ("Drogaria {r} Ltda", "Drogaria {r}"),
    ("{r} Engenharia e Construções Ltda", "{r} Engenharia"),
    ("Condomínio Residencial {r}", "Residencial {r}"),
]

FEMALE_NAMES = (["Ana", "Maria", "Márcia", "Juliana", "Fernanda", "Patrícia", "Aline", "Sandra",
                 "Camila", "Amanda", "Bruna", "Letícia", "Beatriz", "Larissa", "Renata", "Cláudia",
                 "Vânia", "Helena", "Cecília"],
                ["Aparecida", "Cristina", "Luíza", "Vitória", "Paula", "Carolina", "Helena"])
MALE_NAMES = (["José", "João", "Antônio", "Francisco", "Carlos", "Paulo", "Pedro", "Lucas", "Luiz",
               "Marcos", "Gabriel", "Rafael", "Rogério", "Sérgio", "Fábio", "Otávio"],
              ["Eduardo", "Henrique", "Augusto", "Roberto", "Antônio", "Carlos", "José"])
SURNAMES = [
    "Silva", "Santos", "Oliveira", "Souza", "Rodrigues", "Ferreira", "Alves", "Pereira", "Lima",
    "Gomes", "Costa", "Ribeiro", "Martins", "Carvalho", "Almeida", "Lopes", "Soares", "Fernandes",
    "Vieira", "Barbosa", "Rocha", "Dias", "Nascimento", "Andrade", "Moreira", "Nunes", "Marques",
    "Machado", "Mendes", "Freitas", "Cardoso", "Ramos", "Gonçalves", "Santana", "Teixeira",
    "Araújo", "Conceição", "Monteiro",
]


def make_clients():
    clients = []
    company_names = set()
    person_names = set()
    used_inscriptions = set()
    code = 100000
    while len(clients) < 300:
        code += rng.randint(1, 17)
        if rng.random() < 0.62:
            while True:
                form, trade = rng.choice(COMPANY_FORMS)
                root = rng.choice(ROOTS)
                name = form.format(r=root)
                if name not in company_names and len(name) <= 50:
                    break
            company_names.add(name)
            base = f"{rng.randint(1000000, 99999999):08d}" + f"{rng.choice([1, 1, 1, 2, 3]):04d}"
            inscription = cnpj_digits(base)
            kind = "J"
            trade_name = trade.format(r=root)
        else:
            while True:
                first, middle = rng.choice([FEMALE_NAMES, MALE_NAMES])
                name = " ".join([rng.choice(first), rng.choice(middle),
                                 rng.choice(SURNAMES), rng.choice(SURNAMES)])
                if name not in person_names:
                    break
            person_names.add(name)
            base = f"{rng.randint(10000000, 999999999):09d}"
            inscription = cpf_digits(base)
            kind = "F"
            trade_name = name
        if inscription in used_inscriptions or len(set(inscription)) == 1:
            continue
        used_inscriptions.add(inscription)
        clients.append((str(code), inscription, kind, name, trade_name))
    return clients


def make_products():
    tree = [
        ("Materiais de limpeza", [
            ("Produtos químicos", ["Detergente neutro 5 L", "Desinfetante lavanda 5 L",
                                   "Limpador multiuso 5 L", "Cera acrílica 5 L",
                                   "Álcool 70% 1 L"]),
            ("Descartáveis", ["Papel toalha interfolhado", "Papel higiênico rolão 300 m",
                              "Saco de lixo 100 L", "Copo descartável 200 ml"]),
        ]),
        ("Uniformes e EPI", [
            ("Uniformes", ["Camisa polo com logotipo", "Calça de brim", "Jaleco branco"]),
            ("Equipamentos de proteção", ["Luva nitrílica", "Botina de segurança",
                                          "Óculos de proteção"]),
        ]),
        ("Equipamentos", [
            ("Limpeza mecanizada", ["Enceradeira industrial", "Lavadora de alta pressão",
                                    "Aspirador de pó e água"]),
            ("Segurança eletrônica", ["Rádio comunicador", "Detector de metais portátil"]),
        ]),
        ("Jardinagem", [
            ("Insumos", ["Adubo orgânico 25 kg", "Grama esmeralda (m²)", "Substrato 20 kg"]),
            ("Ferramentas", ["Roçadeira a gasolina", "Tesoura de poda"]),
        ]),
    ]
    rows = []
    number = 0
    for i, (name1, groups) in enumerate(tree, start=1):
        number += 1
        rows.append((f"{number:06d}", name1, f"{i}", "1"))
        for j, (name2, items) in enumerate(groups, start=1):
            number += 1
            rows.append((f"{number:06d}", name2, f"{i}.{j:02d}", "2"))
            for k, name3 in enumerate(items, start=1):
                number += 1
                rows.append((f"{number:06d}", name3, f"{i}.{j:02d}.{k:03d}", "3"))
    return rows


# Bindings -------------------------------------------------------------------------------------

REASONS = [
    "Implantação do contrato",
    "Reajuste anual conforme contrato (IPCA)",
    "Repactuação pela convenção coletiva 2025",
    "Inclusão de posto adicional",
    "Revisão comercial aprovada pela diretoria",
]
DESCRIPTIONS = {
    "00001": "Limpeza e conservação - mensal",
    "00002": "Portaria 24 horas - mensal",
    "00003": "Vigilância patrimonial - mensal",
    "00004": "Recepção comercial - mensal",
    "00005": "Manutenção de áreas verdes",
    "00006": "Manutenção predial preventiva",
    "00007": "Copeiragem - mensal",
}
WEEKEND_TEXTS = ["Plantão de fim de semana", "Escala reduzida", "Adicional de domingo"]
VALIDITY_STARTS = [datetime.date(2025, 1, 1), datetime.date(2025, 5, 1),
                   datetime.date(2025, 9, 1), datetime.date(2026, 1, 1)]
# The one replication of the demo: every client of this service got this value from this date.
REPLICATED_SERVICE = ("0001", "00004")
REPLICATION_START = datetime.date(2026, 1, 1)
REPLICATED_VALUE = 4850.0
REPLICATION_REASON = "Reajuste anual da recepção para todos os clientes"


def money(value):
    return round(value, 2)


def make_bindings(branch_clients, products_level3, services_by_branch, shifts_by_service):
    servclie, history, shift_values, shift_history, corrections = [], [], [], [], []
    bound_counts = {"00001": (25, 40), "00002": (15, 25), "00003": (10, 20), "00004": (8, 12),
                    "00005": (5, 10), "00006": (5, 10), "00007": (3, 6)}
    for branch, _ in BRANCHES:
        per_day = branch != "0001"
        members = branch_clients[branch]
        for service, _name, group in services_by_branch[branch]:
            if service not in bound_counts:
                continue
            low, high = bound_counts[service]
            chosen = rng.sample(members, min(len(members), rng.randint(low, high)))
            vmin, vmax, qmin, qmax = PRICING[service]
            for client, correction_unit in chosen:
                history_count = rng.randint(1, 3)
                starts = sorted(rng.sample(VALIDITY_STARTS, history_count))
                value = money(rng.uniform(vmin, vmax))
                values = []
                for n in range(history_count):
                    if n:
                        value = money(value * rng.uniform(1.03, 1.09))
                    values.append(value)
                replicated = (branch, service) == REPLICATED_SERVICE
                if replicated:
                    starts = [s for s in starts if s < REPLICATION_START] + [REPLICATION_START]
                    values = values[:len(starts) - 1] + [REPLICATED_VALUE]
                has_days = rng.random() < 0.35
                day_values = [money(value / 22 * f) if has_days else 0.0
                              for f in (1.5, 1.0, 1.0, 1.0, 1.0, 1.0, 1.2, 2.0)]
                staff = rng.randint(1, 12)
                day_staff = [max(0, staff - (1 if d in ("DOM", "SAB", "FER") else 0))
                             if per_day else 0.0 for d in DAYS]
                day_texts = [rng.choice(WEEKEND_TEXTS) if has_days and d in ("DOM", "SAB")
                             else None for d in DAYS]
                with_product = service in ("00001", "00005") and rng.random() < 0.6
                product = rng.choice(products_level3) if with_product else " "
                changed_by = rng.choice(OPERATORS)
                last_start = starts[-1]
                change = day_count(last_start - datetime.timedelta(days=rng.randint(3, 20)),
                                   rng.randint(8, 18), rng.randint(0, 59))
                servclie.append([
                    branch, service, client, group, product,
                    float(rng.choice([0, 0, 5, 8, 10, 12.5])) if with_product else 0.0,
                    float(rng.randint(1, 5)) if with_product else 0.0,
                    day_count(last_start), values[-1], *day_values,
                    float(staff), *map(float, day_staff),
                    rng.choice(["N", "N", "N", "S", "T"]), rng.choice(["N", "N", "N", "S"]),
                    DESCRIPTIONS[service], *day_texts,
                    float(rng.randint(qmin, qmax)), rng.choice(["S", "S", "S", "N"]),
                    changed_by, change,
                ])
                for n, (start, amount) in enumerate(zip(starts, values)):
                    changed = day_count(start - datetime.timedelta(days=rng.randint(3, 20)),
                                        rng.randint(8, 18), rng.randint(0, 59))
                    factor = amount / values[-1]
                    history.append([branch, service, client, day_count(start), changed, amount,
                                    *[money(v * factor) for v in day_values],
                                    REASONS[0] if n == 0
                                    else REPLICATION_REASON if replicated and start == REPLICATION_START
                                    else rng.choice(REASONS[1:]),
                                    rng.choice(OPERATORS)])
                if service in ("00002", "00003") and rng.random() < 0.5:
                    for shift, shift_name in shifts_by_service[(branch, service)]:
                        base = money(values[-1] / len(shifts_by_service[(branch, service)]) *
                                     (1.2 if shift == "2" else 1.0))
                        exceptions = [money(base / 22 * f)
                                      for f in (1.5, 1.0, 1.0, 1.0, 1.0, 1.0, 1.2, 2.0)]
                        start = datetime.date(2025, rng.choice([3, 6, 9]), 1)
                        changed = day_count(start - datetime.timedelta(days=5), 10, 15)
                        operator = rng.choice(OPERATORS)
                        shift_values.append([
                            branch, service, client, shift, f"Posto {shift_name.lower()}",
                            base, day_count(start), changed, operator, *exceptions,
                            *["Escala de domingo" if d == "DOM" else None for d in DAYS],
                        ])
                        earlier = datetime.date(2025, 1, 1)
                        shift_history.append([branch, service, client, shift, day_count(earlier),
                                              day_count(earlier - datetime.timedelta(days=7), 9, 0),
                                              money(base * 0.95),
                                              *[money(v * 0.95) for v in exceptions], "ADMIN"])
                        shift_history.append([branch, service, client, shift, day_count(start),
                                              changed, base, *exceptions, operator])
                if correction_unit or (branch == "0003" and rng.random() < 0.3):
                    for low_pct, high_pct, pct in [(0.0, 10.0, 0.0), (10.0, 25.0, 3.5),
                                                   (25.0, 60.0, 7.0)]:
                        corrections.append([branch, service, client, low_pct, high_pct, pct,
                                            "ADMIN", day_count(datetime.date(2025, 2, 10), 11, 30)])
    return servclie, history, shift_values, shift_history, corrections


def main():
    out = ["-- Demo data of a facilities and staffing company. Generated by db/make_demo.py;",
           "-- edit the script and run it again instead of editing this file.", ""]

    insert(out, "FILIAL", ["CDFILIAL", "NMFILIAL"], BRANCHES)

    services_by_branch = {}
    service_rows = []
    for branch, _ in BRANCHES:
        services = [s for s in SERVICES if not (branch == "0002" and s[0] == "00008")]
        services += EXTRA_SERVICES.get(branch, [])
        services_by_branch[branch] = services
        service_rows += [(branch, code, name) for code, name, _ in services]
    insert(out, "SERVICO", ["CDFILIAL", "CDSERVFILI", "NMSERVICO"], service_rows)

    shifts_by_service = {}
    shift_rows = []
    for branch, code, _ in service_rows:
        shifts = SHIFTS[rng.choice([2, 2, 3, 3, 4])]
        shifts_by_service[(branch, code)] = shifts
        shift_rows += [(branch, code, shift, name) for shift, name in shifts]
    insert(out, "TURNO", ["CDFILIAL", "CDSERVFILI", "CDTURNO", "NMTURNO"], shift_rows)

    clients = make_clients()
    insert(out, "CLIENTE",
           ["CDCLIENTE", "NRINSJURCLIE", "IDTPIJURCLIE", "NMRAZSOCCLIE", "NMFANTCLIE"], clients)

    branch_clients = {branch: [] for branch, _ in BRANCHES}
    membership = []
    for n, client in enumerate(clients):
        home = ["0001", "0001", "0002", "0003", "0003"][n % 5]
        branches = {home}
        if rng.random() < 0.15:
            branches.add(rng.choice(["0001", "0002", "0003"]))
        if n % 40 == 7:
            branches = {"0001", "0002", "0003"}
        for branch in sorted(branches):
            unit = "U" if rng.random() < 0.04 else None
            membership.append((branch, client[0], unit))
            branch_clients[branch].append((client[0], unit == "U"))
    insert(out, "CLIENTEFILIAL", ["CDFILIAL", "CDCLIENTE", "IDCOREFECLIFILI"], membership)

    products = make_products()
    insert(out, "PRODUTO", ["CDPRODUTO", "NMPRODUTO", "CDARVPROD", "CDNVPRODUTO"], products)

    insert(out, "TIPOCUSTO", ["CDTIPOCUSTO", "NMTIPOCUSTO", "IDUTTPCUSTO"], [
        ("01", "Custo médio", "S"),
        ("02", "Último custo de compra", "S"),
        ("03", "Custo de reposição", "S"),
        ("04", "Custo padrão", "N"),
        ("05", "Custo contábil", "N"),
    ])
    insert(out, "TIPOFATUR", ["CDTIPOFATUR", "NMTIPOFATUR"], [
        ("001", "Faturamento por período"),
        ("002", "Faturamento diário"),
        ("003", "Faturamento diário com correção"),
    ])
    insert(out, "PARAMFILIAL", ["CDFILIAL", "CDTIPOFATUR", "DSPARAMFATFI"], [
        ("0001", "001", "MINEFECONSID=2;MINEFECORRIG=1"),
        ("0002", "002", "MINEFECONSID=1;MINEFECORRIG=1"),
        ("0003", "003", "MINEFECONSID=1;MINEFECORRIG=2"),
    ])

    level3 = [p[0] for p in products if p[3] == "3"]
    servclie, history, shift_values, shift_history, corrections = make_bindings(
        branch_clients, level3, services_by_branch, shifts_by_service)
    insert(out, "SERVCLIE", [
        "CDFILIAL", "CDSERVFILI", "CDCLIENTE", "CDGRSERVFAT", "CDPRODUTO", "VRTAXAPRVAR",
        "IDTCUSPRVAR", "DTSERVFATU", "VRSERVFATU", *[f"VRSERVFAT{d}" for d in DAYS],
        "QTEFETMINI", *[f"QTEFETMIN{d}" for d in DAYS], "IDEXVLRVENDA", "IDVRPRFIXAUT",
        "DSEMISSERCLI", *[f"DSPRODEMIS{d}" for d in DAYS], "QTVOLPROSERVCLI", "IDATIVATABCOR",
        "CDOPERALTSERVCLIE", "DTALTSERVCLIE"], servclie)
    insert(out, "HISTSERVFATU", [
        "CDFILIAL", "CDSERVFILI", "CDCLIENTE", "DTSRVFATUHIS", "DTALTEFATHIS", "VRSERVFATHIS",
        *[f"VRFATU{d}HIS" for d in DAYS], "DSMOTIVOALTHIS", "CDOPERALTHIS"], history)
    insert(out, "TURNOSERVCLIE", [
        "CDFILIAL", "CDSERVFILI", "CDCLIENTE", "CDTURNO", "DSEMISTURCLI", "VRSERVFATTUR",
        "DTSERVCLIETURN", "DTALTSERVCLIETURN", "CDOPERALTSERVCLIETURN",
        *[f"VRSVFATTU{d}" for d in DAYS], *[f"DSPREMISTU{d}" for d in DAYS]], shift_values)
    insert(out, "HISTTURNOSERVCLIE", [
        "CDFILIAL", "CDSERVFILI", "CDCLIENTE", "CDTURNO", "DTSERVCLIETURN", "DTALTSERVCLIETURN",
        "VRSERVFATTUR", *[f"VRSVFATTU{d}" for d in DAYS], "CDOPERALTSERVCLIETURN"], shift_history)
    insert(out, "CORRPRECSERV", [
        "CDFILIAL", "CDSERVFILI", "CDCLIENTE", "VRPEINICSERV", "VRPEFIMSERV", "VRPECORRSERV",
        "CDOPERALTCORR", "DTALTCORR"], corrections)
    insert(out, "DTREPLICAVALOR", [
        "CDFILIAL", "CDSERVFILI", "DTALTREPLICA", "DTSERVFATU", "VRSERVFATU", "DSMOTIVO",
        "CDOPERALT"], [
        (*REPLICATED_SERVICE, day_count(datetime.date(2025, 12, 15), 16, 40),
         day_count(REPLICATION_START), REPLICATED_VALUE, REPLICATION_REASON, "ADMIN"),
    ])
    print("\n".join(out))


if __name__ == "__main__":
    main()
